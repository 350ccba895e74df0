// Writing one result's file into the output folder without ever leaving a cut file.
#include "core/export/ResultFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "core/Error.h"
#include "core/export/Leftovers.h"
#include "core/export/ResultStore.h"
#include "core/util/PathText.h"
#include "core/util/WriteAll.h"

namespace tabulon {
namespace {

constexpr std::size_t kWriteSize = std::size_t{1} << 20;

// A new name in `folder` for a file on its way to its own name, of fixed length, so that a final
// name near the file system's length limit still gets one.
std::string partName(const std::string& folder) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    char name[32];
    std::snprintf(name, sizeof name, ".tabulon-%012llx.part",
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
    return JoinPath(folder, name);
}

// The file being written under its part name: made and kept for removal in one step, so that
// an interrupt removes it, and deleted unless renamed to its own name.
class PartFile {
  public:
    // A new part file in `folder`; a failure names `path`, the file's own name.
    PartFile(const std::string& folder, const std::string& path) {
        for (int attempt = 0;; ++attempt) {
            std::string part = partName(folder);
            LeftoverLock leftovers;
            fd_ = ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                leftovers.keep(part);
                path_ = std::move(part);
                return;
            }
            if (errno != EEXIST || attempt == 100) throw SystemFileError(errno, path);
        }
    }
    ~PartFile() {
        if (fd_ >= 0) ::close(fd_);
        if (path_.empty()) return;
        LeftoverLock leftovers;
        ::unlink(path_.c_str());
        leftovers.forget(path_);
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    const std::string& path() const { return path_; }
    void write(std::string_view bytes) { WriteAll(fd_, bytes, path_); }
    // Closes the complete file and gives it its own name, replacing what holds that name.
    void renameTo(const std::string& path) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) throw SystemFileError(errno, path);
        LeftoverLock leftovers;
        if (std::rename(path_.c_str(), path.c_str()) != 0) throw SystemFileError(errno, path);
        leftovers.forget(path_);
        path_.clear();
    }

  private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace

void WriteResultFile(const ResultStore& store, std::size_t k, const std::string& folder,
                     const std::string& name, std::string_view end) {
    const std::string path = JoinPath(folder, name);
    PartFile part(folder, path);
    // The text and its end go out in large writes, a small result in one.
    thread_local std::string buffer;
    buffer.clear();
    try {
        store.read(k, [&](std::string_view bytes) {
            if (buffer.size() + bytes.size() > kWriteSize) {
                part.write(buffer);
                buffer.clear();
            }
            buffer += bytes;
        });
        buffer += end;
        part.write(buffer);
    } catch (const FileError& e) {
        // A failure to read the stored text names the store's file; a failed write names the
        // result's file.
        if (e.path() != part.path()) throw;
        throw FileError(e.reason(), path, e.errorNumber());
    }
    part.renameTo(path);
}

void FlushToDisk(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw SystemFileError(errno, folder);
    const int result = ::syncfs(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0) throw SystemFileError(error, folder);
}

}  // namespace tabulon
