// The text of one result, written to its temporary file while it is built.
#include "core/export/ResultBuilder.h"

#include <sys/statvfs.h>

#include <cstdint>

#include "core/Error.h"
#include "core/util/Files.h"

namespace tabulon {
std::uint64_t FreeSpaceOf(const std::string& folder) {
    struct statvfs info {};
    if (::statvfs(folder.c_str(), &info) != 0) return UINT64_MAX;
    return std::uint64_t{info.f_bavail} * info.f_frsize;
}

ResultBuilder::ResultBuilder(std::string path, std::uint64_t sizeLimit, std::uint64_t freeSpace,
                             std::string workbook, std::string_view end)
    : path_(std::move(path)), workbook_(std::move(workbook)), end_(end), limit_(sizeLimit) {
    try {
        sink_.emplace(path_);
    } catch (const FileError&) {
        failure_ = std::current_exception();
        return;
    }
    if (freeSpace < limit_) {
        limit_ = freeSpace;
        limitIsFreeSpace_ = true;
    }
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
}

bool ResultBuilder::expect(std::uint64_t bytes) {
    if (failure_) return false;
    const std::uint64_t atLeast = sink_->size() + bytes + end_.size();
    if (atLeast <= limit_) return true;
    fail(tooLarge(atLeast));
    return false;
}

void ResultBuilder::append(std::string_view text) {
    if (failure_) return;
    if (sink_->size() + text.size() + end_.size() > limit_) {
        fail(tooLarge(sink_->size() + text.size() + end_.size()));
        return;
    }
    if (head_.size() < 2) head_.append(text.substr(0, 2 - head_.size()));
    try {
        sink_->write(text);
    } catch (const FileError& e) {
        failWriting(e);
    }
}

bool ResultBuilder::startsWithByteOrderMark() const {
    return head_ == "\xFF\xFE" || head_ == "\xFE\xFF";
}

void ResultBuilder::failWriting(const FileError& e) {
    std::string reason = e.reason() + " in the temporary folder";
    if (!sheet_.empty()) reason += ", sheet \"" + sheet_ + "\"";
    fail(reason + ", after " + std::to_string(sink_->size()) + " bytes");
}

void ResultBuilder::finish() {
    if (!failure_) {
        try {
            sink_->write(end_);  // room for it is kept by every check
            sink_->close();
            return;
        } catch (const FileError& e) {
            failWriting(e);
        }
    }
    if (sink_) {
        sink_.reset();
        DeleteFileQuietly(path_);
    }
    std::rethrow_exception(failure_);
}

void RequireRoomFor(std::uint64_t bytes, std::uint64_t sizeLimit, std::uint64_t freeSpace,
                    const std::string& workbook, const std::string& sheet) {
    if (bytes > sizeLimit) {
        throw FileError("Results too large, sheet \"" + sheet + "\", at least " +
                            std::to_string(bytes) + " bytes, more than the limit of " +
                            std::to_string(sizeLimit) + " bytes",
                        workbook);
    }
    if (bytes <= freeSpace) return;
    throw FileError("Results too large, sheet \"" + sheet + "\", at least " +
                        std::to_string(bytes) + " bytes, more than the " + std::to_string(freeSpace) +
                        " bytes free in the temporary folder",
                    workbook);
}

}  // namespace tabulon
