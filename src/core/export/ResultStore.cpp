// The results of one export run: texts appended to a few large files, one record per result.
#include "core/export/ResultStore.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/Error.h"
#include "core/util/MappedFile.h"
#include "core/util/WriteAll.h"

namespace tabulon {
namespace {

// Appended bytes are written once this many are waiting, and when their result is delivered.
constexpr std::size_t kWriteSize = std::size_t{1} << 18;
constexpr std::size_t kReadSize = std::size_t{1} << 20;

std::uint64_t freeSpaceOf(const std::string& folder) {
    struct statvfs info {};
    if (::statvfs(folder.c_str(), &info) != 0) return UINT64_MAX;
    return std::uint64_t{info.f_bavail} * info.f_frsize;
}

}  // namespace

ResultStore::ResultStore(std::uint64_t sizeLimit)
    : ResultStore(std::make_shared<RunFolder>(), sizeLimit) {}

ResultStore::ResultStore(std::shared_ptr<RunFolder> folder, std::uint64_t sizeLimit,
                         std::uint64_t fileSize)
    : folder_(std::move(folder)), sizeLimit_(sizeLimit), fileSize_(fileSize) {}

ResultStore::~ResultStore() { clear(); }

std::uint64_t ResultStore::freeSpace() {
    if (!measured_ || keptSinceMeasured_ > (std::uint64_t{64} << 20)) {
        measuredFree_ = freeSpaceOf(folder_->path());
        keptSinceMeasured_ = 0;
        measured_ = true;
    }
    return measuredFree_ > keptSinceMeasured_ ? measuredFree_ - keptSinceMeasured_ : 0;
}

void ResultStore::begin() {
    if (files_.empty() || files_.back().delivered >= fileSize_) {
        TextFile file;
        file.fd = folder_->createFile(file.path);
        files_.push_back(std::move(file));
        written_ = 0;
    }
    building_ = true;
}

void ResultStore::writePending() {
    if (pending_.empty()) return;
    writeAll(files_.back().fd, pending_, files_.back().path);
    written_ += pending_.size();
    pending_.clear();
}

void ResultStore::append(std::string_view bytes) {
    if (!building_) begin();
    pending_.append(bytes);
    if (pending_.size() >= kWriteSize) writePending();
}

void ResultStore::deliver(std::string_view name, std::string_view sheet, std::int32_t number) {
    if (!building_) begin();
    writePending();
    if (workbooks_.empty() || workbooks_.back() != name) workbooks_.emplace_back(name);
    const auto workbook = static_cast<std::uint32_t>(workbooks_.size() - 1);
    if (sheets_.empty() || sheets_.back().workbook != workbook || sheets_.back().name != sheet)
        sheets_.push_back({workbook, std::string(sheet)});
    const auto sheetIndex = static_cast<std::uint32_t>(sheets_.size() - 1);
    const auto file = static_cast<std::uint32_t>(files_.size() - 1);
    const std::size_t k = ends_.size();
    Span* const last = spans_.empty() ? nullptr : &spans_.back();
    const bool continues =
        last != nullptr && number != 0 && last->file == file && last->sheet == sheetIndex &&
        last->firstNumber != 0 &&
        last->firstNumber + static_cast<std::int64_t>(k - last->first) == number &&
        last->end - last->start <= UINT32_MAX;
    ends_.push_back(0);
    if (continues) {
        ends_[k - 1] = static_cast<std::uint32_t>(last->end - last->start);
        last->end = written_;
    } else {
        try {
            spans_.push_back({k, file, sheetIndex, number, files_.back().delivered, written_});
        } catch (...) {
            ends_.pop_back();
            throw;
        }
    }
    keptSinceMeasured_ += written_ - files_.back().delivered;
    files_.back().delivered = written_;
    building_ = false;
}

void ResultStore::drop() {
    pending_.clear();
    building_ = false;
    if (files_.empty()) return;
    // A failed write may have left part of its bytes; what stays after a failed cut is
    // overwritten by the next text.
    TextFile& file = files_.back();
    static_cast<void>(::ftruncate(file.fd, static_cast<off_t>(file.delivered)));
    ::lseek(file.fd, static_cast<off_t>(file.delivered), SEEK_SET);
    written_ = file.delivered;
}

std::vector<ResultStore::Span>::const_iterator ResultStore::spanOf(std::size_t k) const {
    if (k >= ends_.size()) throw Error("Subscript out of range");
    return std::upper_bound(
               spans_.begin(), spans_.end(), k,
               [](std::size_t index, const Span& span) { return index < span.first; }) -
           1;
}

ResultStore::Place ResultStore::placeOf(std::size_t k) const {
    const auto span = spanOf(k);
    const std::size_t next = span + 1 == spans_.end() ? ends_.size() : (span + 1)->first;
    const std::uint64_t offset = k == span->first ? span->start : span->start + ends_[k - 1];
    const std::uint64_t end = k + 1 == next ? span->end : span->start + ends_[k];
    return {span->file, offset, end - offset};
}

Result ResultStore::at(std::size_t k) const {
    const Span& span = *spanOf(k);
    const Sheet& sheet = sheets_[span.sheet];
    const std::int32_t number =
        span.firstNumber == 0 ? 0 : span.firstNumber + static_cast<std::int32_t>(k - span.first);
    return {workbooks_[sheet.workbook], sheet.name, number, placeOf(k).size};
}

// Each piece through a descriptor of its own: some file systems (fusefat) read through a
// descriptor only what the file held when it was opened.
void ResultStore::readAhead(std::uint32_t index, std::uint64_t offset) const {
    const TextFile& file = files_[index];
    if (!readAhead_.bytes) readAhead_.bytes.reset(new char[kReadSize]);
    readAhead_.file = SIZE_MAX;
    const auto size =
        static_cast<std::size_t>(std::min<std::uint64_t>(kReadSize, file.delivered - offset));
    const int fd = ::open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw systemFileError(errno, file.path);
    std::size_t done = 0;
    int error = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, readAhead_.bytes.get() + done, size - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            error = got < 0 ? errno : 0;
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (error != 0) throw systemFileError(error, file.path);
    if (done < size) throw FileError("Input past end of file", file.path);
    readAhead_.file = index;
    readAhead_.offset = offset;
    readAhead_.size = size;
}

void ResultStore::read(std::size_t k, const std::function<void(std::string_view)>& take) const {
    const Place place = placeOf(k);
    for (std::uint64_t done = 0; done < place.size;) {
        const std::uint64_t at = place.offset + done;
        if (readAhead_.file != place.file || at < readAhead_.offset ||
            at >= readAhead_.offset + readAhead_.size) {
            readAhead(place.file, at);
        }
        const auto from = static_cast<std::size_t>(at - readAhead_.offset);
        const auto size = static_cast<std::size_t>(
            std::min<std::uint64_t>(readAhead_.size - from, place.size - done));
        take({readAhead_.bytes.get() + from, size});
        done += size;
    }
}

std::string ResultStore::text(std::size_t k) const {
    std::string text;
    read(k, [&](std::string_view bytes) { text += bytes; });
    return text;
}

std::shared_ptr<const MappedFile> ResultStore::map(std::size_t k) const {
    const Place place = placeOf(k);
    return MappedFile::open(files_[place.file].path, place.offset, place.size);
}

void ResultStore::clear() {
    for (const TextFile& file : files_) {
        ::close(file.fd);
        ::unlink(file.path.c_str());
    }
    files_.clear();
    workbooks_.clear();
    sheets_.clear();
    spans_.clear();
    ends_.clear();
    pending_.clear();
    building_ = false;
    written_ = 0;
    readAhead_.file = SIZE_MAX;
}

}  // namespace tabulon
