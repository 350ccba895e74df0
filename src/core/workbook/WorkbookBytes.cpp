// Reading a whole workbook file, with the readers' errors.
#include "core/workbook/WorkbookBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "core/workbook/ReadError.h"
#include "core/workbook/ReadLimits.h"

namespace tabulon::workbook {

std::vector<unsigned char> readWorkbookBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw unreadableFile(path, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    // The size is checked before anything is read.
    struct stat info {};
    if (::fstat(fd, &info) != 0) throw unreadableFile(path, errno);
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > kMaxDecompressedBytes)
        throw ReadError(ReadErrorKind::TooLarge, placeInFile(path), "the file's size");
    std::vector<unsigned char> bytes(size);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw unreadableFile(path, errno);
        if (n == 0) break;  // cut short since its size was taken
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace tabulon::workbook
