// Everything an export mode works with besides its four arguments.
#pragma once

#include "core/export/ExportHost.h"
#include "core/export/ResultStore.h"
#include "core/ui/Activity.h"
#include "core/ui/ErrorReporter.h"

namespace tabulon {

struct ExportContext {
    ErrorReporter& errors;
    Activity& activity;
    ExportHost& host;
    // The texts of the run's results, kept in the run's private folder, where the temporary
    // files are made too. Result k sits at index k - 1.
    ResultStore& resultTexts;
};

}  // namespace tabulon
