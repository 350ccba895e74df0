// One result's text, kept in a file of the run's private folder.
#include "core/export/StoredText.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/Error.h"

namespace tabulon {

std::string StoredText::read() const {
    const int fd = ::open(path().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw SystemFileError(errno, path());
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(fd, bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            const int error = got < 0 ? errno : EIO;
            ::close(fd);
            throw SystemFileError(error, path());
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    return bytes;
}

}  // namespace tabulon
