// The question before an export run when the user's spreadsheet program is open.
#pragma once

#include "core/ui/Dialogs.h"

namespace tabulon {

// The question's text.
extern const char* const kExcelOpenQuestion;

// When isRunning is true, asks whether to go on (Yes/No, no icon, the program's title). Returns
// true when the run must not start: the user did not answer Yes.
bool WarnIfExcelOpen(Dialogs& dialogs, bool isRunning);

// WarnIfExcelOpen(dialogs, workbook::IsExcelRunning()).
bool WarnIfExcelOpen(Dialogs& dialogs);

}  // namespace tabulon
