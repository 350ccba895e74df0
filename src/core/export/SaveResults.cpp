// Writing the results of a run as .csv files named after workbook, sheet and row or column.
#include "core/export/SaveResults.h"

#include <filesystem>

#include "core/Error.h"
#include "core/export/ResultFile.h"
#include "core/export/SaveOptions.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

// A name that would reach outside the output folder is refused like a name the file system
// rejects.
void checkFileName(const std::string& name) {
    if (name.find_first_of(std::string("/\0", 2) + PathSeparator()) != std::string::npos ||
        name == "." || name == "..") {
        throw Error("Bad file name or number: " + name);
    }
}

}  // namespace

std::string FileNameStem(const std::string& text) { return StripExtension(GetFileName(text)); }

std::vector<std::string> ResultFileNames(const std::string& option,
                                         const std::vector<ResultRow>& rows) {
    std::vector<std::string> names;
    const bool book = option == kSaveEachBookOption;
    const bool sheet = option == kSaveEachSheetOption;
    const bool rowOrColumn = option == kSaveEachRowOption || option == kSaveEachColOption;
    if (!book && !sheet && !rowOrColumn) return names;
    names.reserve(rows.size());
    for (const ResultRow& row : rows) {
        std::string name = FileNameStem(row.name);
        if (sheet || rowOrColumn) name += "_" + row.subItem1;
        if (rowOrColumn) name += "_" + row.subItem2;
        names.push_back(name + ".csv");
    }
    return names;
}

ResultSaver::ResultSaver(std::string outputFolder, ErrorReporter& errors, std::string_view textEnd)
    : trap_(errors, kSaveLabel), outputFolder_(std::move(outputFolder)), textEnd_(textEnd) {}

void ResultSaver::save(const std::string& option, const std::vector<ResultRow>& rows,
                       const ResultStore& texts) {
    std::vector<std::string> names;
    trap_.run(104, [&] {
        names = ResultFileNames(option, rows);
        // All names are made distinct before the first file is written: done between the
        // writes, each look-up in a set of a million names misses every cache the system calls
        // left cold, and took several times as long.
        names_.reserve(names.size());
        for (std::string& name : names) name = names_.take(name);
    });
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (beforeEachFile) beforeEachFile();
        const int before = trap_.errorCount();
        trap_.run(106, [&] {
            checkFileName(names[k]);
            WriteResultFile(texts.at(k), JoinPath(outputFolder_, names[k]), textEnd_);
        });
        ++results_;
        if (trap_.errorCount() != before) ++failed_;
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
    saver.save(request.option, request.rows, request.resultTexts);
    notify(dialogs, saver.endMessage());
}

}  // namespace tabulon
