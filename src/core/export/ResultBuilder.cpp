// The text of one result, built in memory while it is small and in its temporary file once it
// grows.
#include "core/export/ResultBuilder.h"

#include <sys/statvfs.h>

#include <cstdint>

#include "core/Error.h"
#include "core/export/ResultStore.h"
#include "core/util/Files.h"

namespace tabulon {
std::uint64_t FreeSpaceOf(const std::string& folder) {
    struct statvfs info {};
    if (::statvfs(folder.c_str(), &info) != 0) return UINT64_MAX;
    return std::uint64_t{info.f_bavail} * info.f_frsize;
}

ResultBuilder::ResultBuilder(ResultStore& store, std::string path, std::string workbook,
                             std::string_view end)
    : store_(store),
      path_(std::move(path)),
      workbook_(std::move(workbook)),
      end_(end),
      limit_(store.sizeLimit()) {
    if (const std::uint64_t freeSpace = store.freeSpace(); freeSpace < limit_) {
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
    if (head_.size() < 2) head_.append(text.substr(0, 2 - head_.size()));
    size_ += text.size();
    if (!sink_) {
        if (size_ + end_.size() <= kSmallResultSize) {
            memory_.append(text);
            return;
        }
        spill();
        if (failure_) return;
    }
    try {
        sink_->write(text);
    } catch (const FileError& e) {
        failWriting(e);
    }
}

void ResultBuilder::spill() {
    try {
        sink_.emplace(path_);
    } catch (const FileError&) {
        failure_ = std::current_exception();
        return;
    }
    try {
        sink_->write(memory_);
    } catch (const FileError& e) {
        failWriting(e);
    }
    std::string().swap(memory_);
}

bool ResultBuilder::startsWithByteOrderMark() const {
    return !keepBytes_ && (head_ == "\xFF\xFE" || head_ == "\xFE\xFF");
}

void ResultBuilder::failWriting(const FileError& e) {
    std::string reason = e.reason() + " in the temporary folder";
    if (!sheet_.empty()) reason += ", sheet \"" + sheet_ + "\"";
    fail(reason + ", after " + std::to_string(size_) + " bytes");
}

void ResultBuilder::finish() {
    // The store reads a text with a byte-order mark back from its file, as text.
    if (!failure_ && !sink_ && startsWithByteOrderMark()) spill();
    if (!failure_) {
        size_ += end_.size();  // room for it is kept by every check
        try {
            if (sink_) {
                sink_->write(end_);
                sink_->close();
            } else {
                memory_.append(end_);
                stored_ = store_.gather(memory_);
            }
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
                        std::to_string(bytes) + " bytes, more than the " +
                        std::to_string(freeSpace) + " bytes free in the temporary folder",
                    workbook);
}

}  // namespace tabulon
