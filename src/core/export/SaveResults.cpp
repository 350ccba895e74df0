// Writing the results of a run as .csv files named after workbook, sheet and row or column.
#include "core/export/SaveResults.h"

#include <filesystem>

#include "core/Error.h"
#include "core/ErrorTrap.h"
#include "core/export/SaveOptions.h"
#include "core/util/Files.h"
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

void SaveResultFiles(const SaveRequest& request, Dialogs& dialogs, ErrorReporter& errors) {
    ErrorTrap trap(errors, "Form2.PushButton6_Click");
    if (trap.test(100, [&] { return !std::filesystem::is_directory(request.outputFolder); })) {
        notify(dialogs, "Output folder does not exist.");
        return;
    }
    std::vector<std::string> names;
    trap.run(104, [&] { names = ResultFileNames(request.option, request.rows); });
    for (std::size_t k = 0; k < names.size(); ++k) {
        trap.run(106, [&] {
            checkFileName(names[k]);
            WriteTextFile(request.resultTexts.at(k), JoinPath(request.outputFolder, names[k]),
                          request.textEnd);
        });
    }
    notify(dialogs, "Done.");
}

}  // namespace tabulon
