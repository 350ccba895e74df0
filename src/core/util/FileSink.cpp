// A new file, created exclusively and never through a link, written with large buffered writes.
#include "core/util/FileSink.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "core/Error.h"

namespace tabulon {
namespace {

constexpr std::size_t kBufferSize = 1 << 18;

std::atomic<WriteCall> writeCall{nullptr};

}  // namespace

void SetWriteCall(WriteCall call) { writeCall = call; }

void WriteAll(int fd, std::string_view bytes, const std::string& path) {
    const WriteCall call = writeCall.load();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = call != nullptr
                                  ? call(fd, bytes.data() + done, bytes.size() - done)
                                  : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) throw SystemFileError(wrote < 0 ? errno : ENOSPC, path);
        done += static_cast<std::size_t>(wrote);
    }
}

FileSink::FileSink(std::string path, mode_t mode) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd_ < 0) throw SystemFileError(errno, path_);
}

FileSink::~FileSink() {
    if (fd_ >= 0) ::close(fd_);
}

void FileSink::write(std::string_view bytes) {
    if (fd_ < 0) throw FileError("Bad file descriptor", path_);
    // The buffer grows with the text, so that a small file sets up no large buffer.
    size_ += bytes.size();
    if (buffer_.size() + bytes.size() <= kBufferSize) {
        buffer_.append(bytes);
        return;
    }
    flush();
    if (bytes.size() >= kBufferSize) {
        WriteAll(fd_, bytes, path_);
    } else {
        buffer_.append(bytes);
    }
}

void FileSink::flush() {
    WriteAll(fd_, buffer_, path_);
    buffer_.clear();
}

void FileSink::close() {
    if (fd_ < 0) return;
    flush();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw SystemFileError(errno, path_);
}

}  // namespace tabulon
