// The start-up check that the workbook engine can be started.
#include "app/IsInstalled.h"

#include <exception>

namespace tabulon {

void CheckExcelInstalled(Dialogs& dialogs, const std::function<void()>& createInstance) {
    bool created = false;
    try {
        createInstance();
        created = true;
    } catch (const std::exception&) {
        created = false;
    }
    if (!created) dialogs.messageBox(kNotInstalledMessage, Buttons::Ok, Icon::None, kAppTitle);
}

}  // namespace tabulon
