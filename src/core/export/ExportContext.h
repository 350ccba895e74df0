// Everything an export mode works with besides its four arguments.
#pragma once

#include "core/export/ExportHost.h"
#include "core/export/LineFormat.h"
#include "core/export/ResultStore.h"
#include "core/export/SheetChoice.h"
#include "core/ui/Activity.h"
#include "core/ui/ErrorReporter.h"
#include "core/workbook/PasswordSource.h"

namespace tabulon {

struct ExportContext {
    ErrorReporter& errors;
    Activity& activity;
    ExportHost& host;
    // The run's results: each one's record and text, kept in the run's private folder. Result k
    // sits at index k - 1.
    ResultStore& resultTexts;
    // Where the passwords of encrypted workbooks come from; none when null.
    workbook::PasswordSource* passwords = nullptr;
    // How cells become lines of text, and the sheets exported (every one when there is no choice).
    const LineFormat& lineFormat = LineFormat::window();
    SheetChoice* sheetChoice = nullptr;
};

}  // namespace tabulon
