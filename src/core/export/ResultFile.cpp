// Writing one result's file into the output folder without ever leaving a cut file.
#include "core/export/ResultFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#include "core/Error.h"
#include "core/util/FileSink.h"
#include "core/util/Files.h"

namespace tabulon {
namespace {

constexpr std::size_t kChunk = 1 << 20;

// The folder of `path`; "." for a bare name.
std::string folderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// A new name in `folder` for a file on its way to its own name, of fixed length, so that a final
// name near the file system's length limit still gets one.
std::string partName(const std::string& folder) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    char name[32];
    std::snprintf(name, sizeof name, ".tabulon-%012llx.part",
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
    return (std::filesystem::path(folder) / name).string();
}

// Tries a new part name until one is free: `make` creates the entry, false with errno set.
template <typename Make>
std::string takePartName(const std::string& path, Make make) {
    const std::string folder = folderOf(path);
    for (int attempt = 0;; ++attempt) {
        std::string part = partName(folder);
        if (make(part)) return part;
        if (errno != EEXIST || attempt == 100) throw SystemFileError(errno, path);
    }
}

// A new file beside `path` under a part name.
std::unique_ptr<FileSink> createPartFile(const std::string& path) {
    std::unique_ptr<FileSink> sink;
    takePartName(path, [&](const std::string& part) {
        try {
            sink = std::make_unique<FileSink>(part, 0666);
            return true;
        } catch (const FileError& e) {
            errno = e.errorNumber();
            return false;
        }
    });
    return sink;
}

// Whether this kernel and the output folder's file system let a file be made without a name
// (O_TMPFILE) and named once complete (linkat on the open file); cleared at the first sign that
// they do not.
std::atomic<bool> unnamedFiles{true};

// The file of a stored text, open for reading. The file that gathers a run's small texts is
// read for many results in a row, so it stays open until another file is asked for.
class StoredFile {
  public:
    ~StoredFile() { close(); }
    int open(const StoredText& text) {
        if (fd_ >= 0 && text.file == file_) return fd_;
        close();
        fd_ = ::open(text.path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) throw SystemFileError(errno, text.path());
        file_ = text.file;
        return fd_;
    }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        file_.reset();
    }

  private:
    std::shared_ptr<const std::string> file_;
    int fd_ = -1;
};

}  // namespace

void ReadStoredText(const StoredText& text, const std::function<void(std::string_view)>& write) {
    thread_local StoredFile stored;
    const int fd = stored.open(text);
    // One buffer for every file of a save: a save of a million small results must not set up a
    // large buffer a million times.
    thread_local const std::unique_ptr<char[]> buffer(new char[kChunk]);
    for (std::uint64_t done = 0; done < text.size;) {
        const ssize_t got =
            ::pread(fd, buffer.get(), std::min<std::uint64_t>(text.size - done, kChunk),
                    static_cast<off_t>(text.offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            stored.close();
            throw SystemFileError(error, text.path());
        }
        if (got == 0) {
            stored.close();
            throw FileError("Input past end of file", text.path());
        }
        write({buffer.get(), static_cast<std::size_t>(got)});
        done += static_cast<std::uint64_t>(got);
    }
    // A file of its own is read once; it is not kept open.
    if (text.offset == 0) stored.close();
}

namespace {

// Renames the complete file at `part` to `path`, replacing what is there; the file at `part`
// is deleted on failure.
void renameIntoPlace(const std::string& part, const std::string& path) {
    if (std::rename(part.c_str(), path.c_str()) == 0) return;
    const int error = errno;
    DeleteFileQuietly(part);
    throw SystemFileError(error, path);
}

// Whether open files are linked through their /proc/self/fd entry: kernels before 6.10 let only
// privileged users link one by its descriptor (AT_EMPTY_PATH), anyone through /proc.
std::atomic<bool> linkThroughProc{false};

// Gives the open file `fd` the name; false with errno set when it cannot.
bool linkOpenFile(int fd, const std::string& name) {
    if (!linkThroughProc) {
        if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
        if (errno != ENOENT && errno != EPERM) return false;
    }
    const std::string entry = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, entry.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0)
        return false;
    linkThroughProc = true;
    return true;
}

// Writes the file with no name at all and links it under `path` once complete, which takes fewer
// steps than a part file and leaves nothing behind when it fails: no name is ever taken before
// the text is whole. False, leaving nothing behind, where the kernel or the file system cannot
// (the file systems that can are local ones, where closing a written file does not fail).
bool writeUnnamedFile(const StoredText& text, const std::string& path, std::string_view end) {
    const std::string folder = folderOf(path);
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) unnamedFiles = false;
        return false;  // a part file says what is wrong, if anything is
    }
    FileSink file(fd, path);
    ReadStoredText(text, [&](std::string_view bytes) { file.write(bytes); });
    file.write(end);
    file.flush();
    const auto linkAs = [&](const std::string& name) { return linkOpenFile(fd, name); };
    if (linkAs(path)) {
        file.close();
        return true;
    }
    if (errno != EEXIST) {
        // Neither way of linking an open file works here: temporary names from now on. Any
        // other failure is met again, and reported, by the write under a temporary name.
        if (errno == ENOENT || errno == EPERM) unnamedFiles = false;
        return false;
    }
    // The name is taken (an earlier file, or anything else): the complete file gets a part name
    // and is renamed over it, so that a failure leaves what was there as it was.
    const std::string part = takePartName(path, linkAs);
    try {
        file.close();
    } catch (const FileError&) {
        DeleteFileQuietly(part);
        throw;
    }
    renameIntoPlace(part, path);
    return true;
}

void writePartFile(const StoredText& text, const std::string& path, std::string_view end) {
    std::unique_ptr<FileSink> part = createPartFile(path);
    const std::string partPath = part->path();
    try {
        ReadStoredText(text, [&](std::string_view bytes) { part->write(bytes); });
        part->write(end);
        part->close();
    } catch (const FileError&) {
        part.reset();
        DeleteFileQuietly(partPath);
        throw;
    }
    renameIntoPlace(partPath, path);
}

}  // namespace

void UseUnnamedFiles(bool use) { unnamedFiles = use; }

void WriteResultFile(const StoredText& text, const std::string& path, std::string_view end) {
    try {
        if (unnamedFiles && writeUnnamedFile(text, path, end)) return;
        writePartFile(text, path, end);
    } catch (const FileError& e) {
        // A failure to read the stored text names that file; any other names the result's file.
        if (e.path() == text.path()) throw;
        throw FileError(e.reason(), path, e.errorNumber());
    }
}

}  // namespace tabulon
