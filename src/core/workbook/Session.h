// The spreadsheet session: is the user's spreadsheet program running, and a fresh private
// instance with one workbook opened.
#pragma once

#include <memory>
#include <string>

#include "core/workbook/Application.h"

namespace tabulon::workbook {

// True when a process of the current user under the process folder (normally "/proc") is a
// desktop spreadsheet program with a window: LibreOffice (soffice), Gnumeric, or a spreadsheet
// program run by Wine; one started without a window (--headless, --invisible, --convert-to on
// its command line) does not count. Any error gives false.
bool isSpreadsheetProcessRunning(const std::string& processRoot);

// isSpreadsheetProcessRunning("/proc").
bool IsExcelRunning();

// A new application with the workbook at the path opened in it; an encrypted workbook asks the
// password source (which may be null) after the default password. A failure to open propagates.
std::unique_ptr<Application> OpenInNewExcel(const std::string& path,
                                            PasswordSource* passwords = nullptr);

}  // namespace tabulon::workbook
