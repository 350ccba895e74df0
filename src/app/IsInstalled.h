// The start-up check that the workbook engine can be started.
#pragma once

#include <functional>

#include "core/ui/Dialogs.h"

namespace tabulon {

inline constexpr const char* kNotInstalledMessage =
    "Excel is not installed on this computer. You need to have it installed to use this software "
    "without error.";

// Tries to create an engine instance; when that fails, warns once. Never fails itself.
void CheckExcelInstalled(Dialogs& dialogs, const std::function<void()>& createInstance);

}  // namespace tabulon
