// The spreadsheet session: is the user's spreadsheet program running, the question before a
// run, and a fresh private instance with one workbook opened.
#pragma once

#include <memory>
#include <string>

#include "core/ui/Dialogs.h"
#include "core/workbook/Application.h"

namespace tabulon::workbook {

// True when a process of the current user under the process folder (normally "/proc") is a
// desktop spreadsheet program with a window: LibreOffice (soffice), Gnumeric, or a spreadsheet
// program run by Wine; one started without a window (--headless, --invisible, --convert-to on
// its command line) does not count. Any error gives false.
bool IsSpreadsheetProcessRunning(const std::string& processRoot);

// IsSpreadsheetProcessRunning("/proc").
bool IsExcelRunning();

// When isRunning is true, asks whether to go on (Yes/No, no icon, the program's title). Returns
// true when the run must not start: the user did not answer Yes.
bool WarnIfExcelOpen(Dialogs& dialogs, bool isRunning);

// WarnIfExcelOpen(dialogs, IsExcelRunning()).
bool WarnIfExcelOpen(Dialogs& dialogs);

// A new application with the workbook at the path opened in it; an encrypted workbook asks the
// password source (which may be null) after the default password. A failure to open propagates.
std::unique_ptr<Application> OpenInNewExcel(const std::string& path,
                                            PasswordSource* passwords = nullptr);

// The question's text.
extern const char* const kExcelOpenQuestion;

}  // namespace tabulon::workbook
