// Writing bytes to a file descriptor, through a call that tests can replace.
#include "core/util/WriteAll.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "core/Error.h"

namespace tabulon {
namespace {

std::atomic<WriteCall> writeCall{nullptr};

}  // namespace

void setWriteCall(WriteCall call) { writeCall = call; }

void writeAll(int fd, std::string_view bytes, const std::string& path) {
    const WriteCall call = writeCall.load();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = call != nullptr
                                  ? call(fd, bytes.data() + done, bytes.size() - done)
                                  : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) throw systemFileError(wrote < 0 ? errno : ENOSPC, path);
        done += static_cast<std::size_t>(wrote);
    }
}

}  // namespace tabulon
