// A file's bytes, mapped read-only into memory.
#include "core/util/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "core/Error.h"

namespace tabulon {

std::shared_ptr<const MappedFile> MappedFile::open(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) throw systemFileError(errno, path);
    return open(path, 0, static_cast<std::uint64_t>(info.st_size));
}

std::shared_ptr<const MappedFile> MappedFile::open(const std::string& path, std::uint64_t offset,
                                                   std::uint64_t size) {
    if (size == 0) return std::shared_ptr<const MappedFile>(new MappedFile(nullptr, 0, "", 0));
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw systemFileError(errno, path);
    // A mapping starts at a page boundary.
    const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const std::uint64_t start = offset / page * page;
    const auto mappedSize = static_cast<std::size_t>(offset - start + size);
    void* mapping =
        ::mmap(nullptr, mappedSize, PROT_READ, MAP_SHARED, fd, static_cast<off_t>(start));
    const int error = errno;
    ::close(fd);
    if (mapping == MAP_FAILED) throw systemFileError(error, path);
    return std::shared_ptr<const MappedFile>(
        new MappedFile(mapping, mappedSize, static_cast<const char*>(mapping) + (offset - start),
                       static_cast<std::size_t>(size)));
}

void MappedFile::release(std::size_t from, std::size_t length) const {
    if (mapping_ == nullptr) return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(data_ + from);
    const auto end = reinterpret_cast<std::uintptr_t>(data_ + std::min(size_, from + length));
    // Only whole pages inside the range.
    const std::uintptr_t first = (begin + page - 1) / page * page;
    const std::uintptr_t last = end / page * page;
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

MappedFile::~MappedFile() {
    if (mapping_ != nullptr) ::munmap(mapping_, mappedSize_);
}

}  // namespace tabulon
