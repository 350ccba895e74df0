// The results of one export run, each kept in a file of the run's private folder.
#include "core/export/ResultStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "core/Error.h"
#include "core/export/ReadTextFile.h"
#include "core/export/ResultBuilder.h"
#include "core/util/FileSink.h"
#include "core/util/Files.h"
#include "core/util/PathText.h"

namespace tabulon {
ResultStore::~ResultStore() {
    if (gathered_ >= 0) ::close(gathered_);
}

std::uint64_t ResultStore::freeSpace() {
    if (!measured_ || keptSinceMeasured_ > (std::uint64_t{64} << 20)) {
        measuredFree_ = FreeSpaceOf(folder_.path());
        keptSinceMeasured_ = 0;
        measured_ = true;
    }
    return measuredFree_ > keptSinceMeasured_ ? measuredFree_ - keptSinceMeasured_ : 0;
}

void ResultStore::reset() {
    measured_ = false;
    clear();
    if (gathered_ >= 0) ::close(gathered_);
    gathered_ = -1;
    gatheredFile_.reset();
    folder_.remove();
}

void ResultStore::clear() {
    for (const StoredText& text : texts_) {
        if (text.file != gatheredFile_) DeleteFileQuietly(text.path());
    }
    texts_.clear();
    if (gathered_ >= 0 && ::ftruncate(gathered_, 0) == 0) gatheredSize_ = 0;
}

StoredText ResultStore::gather(std::string_view text) {
    if (gathered_ < 0) {
        gatheredFile_ =
            std::make_shared<const std::string>(JoinPath(folder_.path(), "gathered.results"));
        gathered_ = ::open(gatheredFile_->c_str(),
                           O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_APPEND | O_CLOEXEC, 0600);
        if (gathered_ < 0) throw SystemFileError(errno, *gatheredFile_);
        gatheredSize_ = 0;
    }
    try {
        WriteAll(gathered_, text, *gatheredFile_);
    } catch (const FileError&) {
        // What was written before the failure is cut off again; a file left empty goes.
        static_cast<void>(::ftruncate(gathered_, static_cast<off_t>(gatheredSize_)));
        if (gatheredSize_ == 0) {
            ::close(gathered_);
            gathered_ = -1;
            DeleteFileQuietly(*gatheredFile_);
        }
        throw;
    }
    keptSinceMeasured_ += text.size();
    const StoredText stored{gatheredFile_, text.size(), gatheredSize_};
    gatheredSize_ += text.size();
    return stored;
}

StoredText ResultStore::keep(const std::string& tempPath, std::uint64_t size, bool byteOrderMark) {
    const std::string folder = std::filesystem::path(tempPath).parent_path().string();
    keptSinceMeasured_ += size;
    const std::string path = JoinPath(folder, std::to_string(++kept_) + ".result");
    if (byteOrderMark) {
        const std::string text = ReadTextFile(tempPath);
        FileSink sink(path);
        sink.write(text);
        sink.close();
        return {std::make_shared<const std::string>(path), text.size()};
    }
    // A second name for the same file: no copy, and it fails when the name is taken.
    if (::link(tempPath.c_str(), path.c_str()) != 0) throw SystemFileError(errno, path);
    return {std::make_shared<const std::string>(path), size};
}

}  // namespace tabulon
