// The question before an export run when the user's spreadsheet program is open.
#include "core/export/WarnIfExcelOpen.h"

#include "core/workbook/Session.h"

namespace tabulon {

const char* const kExcelOpenQuestion =
    "Excel may be open. It is recommended that you close Excel first.\r"
    "Use Ctrl+Alt+Del > Task Manager > EXCEL.EXE if necessary.\r\n\r\n"
    "Would you like to proceed anyway?";

bool WarnIfExcelOpen(Dialogs& dialogs, bool isRunning) {
    if (!isRunning) return false;
    return dialogs.messageBox(kExcelOpenQuestion, Buttons::YesNo, Icon::None, kAppTitle) !=
           Answer::Yes;
}

bool WarnIfExcelOpen(Dialogs& dialogs) {
    return WarnIfExcelOpen(dialogs, workbook::IsExcelRunning());
}

}  // namespace tabulon
