// Writing the results of a run as .csv files named after workbook, sheet and row or column.
#include "core/export/SaveResults.h"

#include <filesystem>
#include <vector>

#include "core/Error.h"
#include "core/export/ResultFile.h"
#include "core/export/SaveOptions.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

enum class Naming { None, Book, Sheet, RowOrColumn };

Naming namingOf(const std::string& option) {
    if (option == kSaveEachBookOption) return Naming::Book;
    if (option == kSaveEachSheetOption) return Naming::Sheet;
    if (option == kSaveEachRowOption || option == kSaveEachColOption) return Naming::RowOrColumn;
    return Naming::None;
}

std::string fileName(Naming naming, const Result& result) {
    std::string name = FileNameStem(std::string(result.name));
    if (naming != Naming::Book) (name += '_') += result.sheet;
    if (naming == Naming::RowOrColumn) (name += '_') += std::to_string(result.number);
    return name + ".csv";
}

// A name that would reach outside the output folder is refused like a name the file system
// rejects.
void checkFileName(const std::string& name) {
    if (name.find_first_of(std::string("/\0", 2) + PathSeparator()) != std::string::npos ||
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

std::string FileNameStem(const std::string& text) { return StripExtension(GetFileName(text)); }

std::string ResultFileName(const std::string& option, const Result& result) {
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
            WriteResultFile(results, k, outputFolder_, name, textEnd_);
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
        FlushToDisk(outputFolder_);
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

void SaveResultFiles(const SaveRequest& request, Dialogs& dialogs, ErrorReporter& errors) {
    ErrorTrap trap(errors, kSaveLabel);
    if (trap.test(100, [&] { return !std::filesystem::is_directory(request.outputFolder); })) {
        notify(dialogs, "Output folder does not exist.");
        return;
    }
    ResultSaver saver(request.outputFolder, errors, request.textEnd);
    saver.beforeEachFile = request.beforeEachFile;
    if (request.results != nullptr) saver.save(request.option, *request.results);
    saver.flush();
    notify(dialogs, saver.endMessage());
}

}  // namespace tabulon
