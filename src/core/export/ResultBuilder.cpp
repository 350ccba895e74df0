// The text of one result as it is built into the run's store.
#include "core/export/ResultBuilder.h"

#include "core/Error.h"
#include "core/export/ResultStore.h"

namespace tabulon {

ResultBuilder::ResultBuilder(ResultStore& store, std::string workbook, std::string_view end)
    : store_(store), workbook_(std::move(workbook)), end_(end), limit_(store.sizeLimit()) {
    if (const std::uint64_t freeSpace = store.freeSpace(); freeSpace < limit_) {
        limit_ = freeSpace;
        limitIsFreeSpace_ = true;
    }
}

ResultBuilder::~ResultBuilder() {
    if (!delivered_) store_.drop();
}

std::string ResultBuilder::tooLarge(std::uint64_t atLeast) const {
    std::string text = "Result too large";
    if (!sheet_.empty()) text += ", sheet \"" + sheet_ + "\"";
    text += ", at least " + std::to_string(atLeast) + " bytes, more than ";
    if (limitIsFreeSpace_) {
        text += "the " + std::to_string(limit_) + " bytes free in the temporary folder";
    } else {
        text += "the limit of " + std::to_string(limit_) + " bytes";
    }
    return text;
}

void ResultBuilder::fail(const std::string& reason) {
    if (failure_) return;
    failure_ = std::make_exception_ptr(FileError(reason, workbook_));
    store_.drop();  // nothing of a failed result stays
}

bool ResultBuilder::expect(std::uint64_t bytes) {
    if (failure_) return false;
    const std::uint64_t atLeast = size_ + bytes + end_.size();
    if (atLeast <= limit_) return true;
    fail(tooLarge(atLeast));
    return false;
}

void ResultBuilder::append(std::string_view text) {
    if (failure_) return;
    if (size_ + text.size() + end_.size() > limit_) {
        fail(tooLarge(size_ + text.size() + end_.size()));
        return;
    }
    size_ += text.size();
    try {
        store_.append(text);
    } catch (const FileError& e) {
        failWriting(e);
    }
}

void ResultBuilder::failWriting(const FileError& e) {
    std::string reason = e.reason() + " in the temporary folder";
    if (!sheet_.empty()) reason += ", sheet \"" + sheet_ + "\"";
    fail(reason + ", after " + std::to_string(size_) + " bytes");
}

void ResultBuilder::finish(std::string_view name, std::string_view sheet, std::int32_t number) {
    if (!failure_) {
        size_ += end_.size();  // room for it is kept by every check
        try {
            store_.append(end_);
            store_.deliver(name, sheet, number);
            delivered_ = true;
            return;
        } catch (const FileError& e) {
            failWriting(e);
        }
    }
    std::rethrow_exception(failure_);
}

void requireRoomFor(std::uint64_t bytes, std::uint64_t sizeLimit, std::uint64_t freeSpace,
                    const std::string& workbook, const std::string& sheet) {
    if (bytes > sizeLimit) {
        throw FileError("Results too large, sheet \"" + sheet + "\", at least " +
                            std::to_string(bytes) + " bytes, more than the limit of " +
                            std::to_string(sizeLimit) + " bytes",
                        workbook);
    }
    if (bytes <= freeSpace) return;
    throw FileError("Results too large, sheet \"" + sheet + "\", at least " +
                        std::to_string(bytes) + " bytes, more than the " +
                        std::to_string(freeSpace) + " bytes free in the temporary folder",
                    workbook);
}

}  // namespace tabulon
