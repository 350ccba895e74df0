// What tabulon-cli does for --list and --sheet.
#include "cli/SheetOptions.h"

#include <exception>

#include "cli/Terminal.h"
#include "core/export/SheetListing.h"
#include "core/workbook/Session.h"

namespace tabulon::cli {

int listSheets(const std::vector<std::string>& files, SheetChoice* choice,
               workbook::PasswordSource* passwords, std::FILE* out, std::FILE* err) {
    int failed = 0;
    for (const std::string& file : files) {
        try {
            const auto app = workbook::OpenInNewExcel(file, passwords);
            auto& books = app->workbooks();
            for (const std::string& line :
                 sheetListingLines(file, books.item(books.count()), choice))
                std::fprintf(out, "%s\n", line.c_str());
        } catch (const std::exception& e) {
            writeMessage(err, workbookMessage(file, {}, e.what()));
            ++failed;
        }
    }
    return failed;
}

int reportUnmatchedSheets(const SheetChoice& choice, std::FILE* err) {
    const std::vector<std::string> unmatched = choice.unmatched();
    for (const std::string& entry : unmatched)
        writeMessage(err, "no workbook has a sheet \"" + entry + "\"");
    return static_cast<int>(unmatched.size());
}

}  // namespace tabulon::cli
