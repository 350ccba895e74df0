// A file's bytes, mapped read-only into memory.
#include "core/util/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/Error.h"

namespace tabulon {

std::shared_ptr<const MappedFile> MappedFile::open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw SystemFileError(errno, path);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        throw SystemFileError(error, path);
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    void* data = nullptr;
    if (size > 0) {
        data = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
        if (data == MAP_FAILED) {
            const int error = errno;
            ::close(fd);
            throw SystemFileError(error, path);
        }
    }
    ::close(fd);
    return std::shared_ptr<const MappedFile>(new MappedFile(static_cast<const char*>(data), size));
}

MappedFile::~MappedFile() {
    if (size_ > 0) ::munmap(const_cast<char*>(data_), size_);
}

}  // namespace tabulon
