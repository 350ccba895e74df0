// Writing the results of a run as .csv files named after workbook, sheet and row or column.
#include "core/export/SaveResults.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include "core/Error.h"
#include "core/export/Leftovers.h"
#include "core/export/SaveOptions.h"
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
    return joinPath(folder, name);
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
            if (errno != EEXIST || attempt == 100) throw systemFileError(errno, path);
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
    void write(std::string_view bytes) { writeAll(fd_, bytes, path_); }
    // Closes the complete file and gives it its own name, replacing what holds that name.
    void renameTo(const std::string& path) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) throw systemFileError(errno, path);
        LeftoverLock leftovers;
        if (std::rename(path_.c_str(), path.c_str()) != 0) throw systemFileError(errno, path);
        leftovers.forget(path_);
        path_.clear();
    }

  private:
    std::string path_;
    int fd_ = -1;
};

// Writes result k's text followed by `end` under a temporary name (".tabulon-XXXXXXXXXXXX.part")
// in `folder` and renames it to `name` there once complete, replacing an earlier file of that
// name. On failure nothing written is left, an earlier file of that name is left as it was, and
// a FileError names the system's reason and the file's path (or the store's file when that could
// not be read).
void writeResultFile(const ResultStore& store, std::size_t k, const std::string& folder,
                     const std::string& name, std::string_view end) {
    const std::string path = joinPath(folder, name);
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

// Writes everything written to the file system of `folder` to the disk, so that saved files
// survive a power cut: one syncfs() costs far less than an fsync() of each of many files.
void flushToDisk(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw systemFileError(errno, folder);
    const int result = ::syncfs(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0) throw systemFileError(error, folder);
}

enum class Naming { None, Book, Sheet, RowOrColumn };

Naming namingOf(const std::string& option) {
    if (option == kSaveEachBookOption) return Naming::Book;
    if (option == kSaveEachSheetOption) return Naming::Sheet;
    if (option == kSaveEachRowOption || option == kSaveEachColOption) return Naming::RowOrColumn;
    return Naming::None;
}

std::string fileName(Naming naming, const Result& result) {
    std::string name = fileNameStem(std::string(result.name));
    if (naming != Naming::Book) (name += '_') += result.sheet;
    if (naming == Naming::RowOrColumn) (name += '_') += std::to_string(result.number);
    return name + ".csv";
}

// A name that would reach outside the output folder is refused like a name the file system
// rejects.
void checkFileName(const std::string& name) {
    if (name.find_first_of(std::string("/\0", 2) + pathSeparator()) != std::string::npos ||
        name == "." || name == "..") {
        throw Error("Bad file name or number: " + name);
    }
}

// The kind of reason a save failed for: the system's error number, or the text of the reason.
std::string kindOf(const std::exception& e) {
    if (const auto* fileError = dynamic_cast<const FileError*>(&e)) {
        return fileError->errorNumber() != 0 ? std::to_string(fileError->errorNumber())
                                             : fileError->reason();
    }
    const std::string_view text = e.what();
    return std::string(text.substr(0, text.find(": ")));
}

}  // namespace

std::string fileNameStem(const std::string& text) { return StripExtension(GetFileName(text)); }

std::string resultFileName(const std::string& option, const Result& result) {
    const Naming naming = namingOf(option);
    return naming == Naming::None ? std::string() : fileName(naming, result);
}

ResultSaver::ResultSaver(std::string outputFolder, ErrorReporter& errors, std::string_view textEnd)
    : trap_(errors, kSaveLabel), outputFolder_(std::move(outputFolder)), textEnd_(textEnd) {}

void ResultSaver::save(const std::string& option, const ResultStore& results) {
    const Naming naming = namingOf(option);
    if (naming == Naming::None) return;
    // All names are made distinct before the first file is written: done between the writes,
    // each look-up in a set of a million names misses every cache the system calls left cold.
    // Only the names that get a number are kept; the others are made again when written.
    std::unordered_map<std::size_t, std::string> numbered;
    trap_.run(104, [&] {
        names_.reserve(results.size());
        for (std::size_t k = 0; k < results.size(); ++k) {
            std::string name = fileName(naming, results.at(k));
            std::string taken = names_.take(name);
            if (taken != name) numbered.emplace(k, std::move(taken));
        }
    });
    for (std::size_t k = 0; k < results.size(); ++k) {
        if (beforeEachFile) beforeEachFile();
        ++results_;
        try {
            const auto renamed = numbered.find(k);
            const std::string name =
                renamed != numbered.end() ? renamed->second : fileName(naming, results.at(k));
            checkFileName(name);
            writeResultFile(results, k, outputFolder_, name, textEnd_);
            ++unflushed_;
        } catch (const std::exception& e) {
            failed(e);
        }
    }
}

void ResultSaver::failed(const std::exception& e) {
    ++failed_;
    if (reportedKinds_.insert(kindOf(e)).second) trap_.report(106, e);
}

void ResultSaver::flush() {
    if (unflushed_ == 0) return;
    unflushed_ = 0;
    try {
        flushToDisk(outputFolder_);
    } catch (const std::exception& e) {
        trap_.report(108, e);
        failed_ = results_;
    }
}

std::string ResultSaver::endMessage() const {
    if (failed_ == 0) return "Done.";
    return std::to_string(failed_) + " of " + std::to_string(results_) +
           (results_ == 1 ? " result" : " results") + " could not be saved.";
}

void saveResultFiles(const SaveRequest& request, Dialogs& dialogs, ErrorReporter& errors) {
    ErrorTrap trap(errors, kSaveLabel);
    if (trap.test(100, [&] { return !std::filesystem::is_directory(request.outputFolder); })) {
        notify(dialogs, "Output folder does not exist.");
        return;
    }
    ResultSaver saver(request.outputFolder, errors);
    saver.beforeEachFile = request.beforeEachFile;
    if (request.results != nullptr) saver.save(request.option, *request.results);
    saver.flush();
    notify(dialogs, saver.endMessage());
}

}  // namespace tabulon
