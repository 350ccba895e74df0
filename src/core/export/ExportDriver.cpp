// One export run: every listed workbook through the chosen option's export mode.
#include "core/export/ExportDriver.h"

#include <cmath>

#include "core/ErrorTrap.h"
#include "core/export/ExportModes.h"
#include "core/export/SaveOptions.h"
#include "core/util/PathText.h"

namespace tabulon {

ExportMode exportModeFor(const std::string& option) {
    if (option == kSaveEachBookOption) return &SaveEachBook;
    if (option == kSaveEachSheetOption) return &SaveEachSheet;
    if (option == kSaveEachRowOption) return &SaveEachRow;
    if (option == kSaveEachColOption) return &SaveEachCol;
    return nullptr;
}

std::vector<ResultColumn> resultColumnsFor(const std::string& option) {
    if (option == kSaveEachBookOption) return {{"Preview", 7000}};
    if (option == kSaveEachSheetOption) return {{"Preview", 6000}, {"Sheet Name", 1500}};
    if (option == kSaveEachRowOption)
        return {{"Preview", 4500}, {"Sheet Name", 1500}, {"Row", 1200}};
    if (option == kSaveEachColOption) {
        return {{"Preview", 4500}, {"Sheet Name", 1500}, {"Column", 1200}};
    }
    return {};
}

void runExport(ExportRun& run) {
    ExportContext& context = run.context;
    ExportHost& host = context.host;
    Activity& activity = context.activity;
    ErrorTrap trap(context.errors, "Form1.PushButton2_Click");

    trap.run(100, [&] { context.resultTexts.clear(); });
    bool stop = false;
    trap.run(102, [&] { stop = run.warnIfExcelOpen(); });
    if (stop) return;
    std::int32_t ResultIndex = 1;
    if (trap.test(106, [&] { return host.fileCount() == 0; })) {
        notify(run.dialogs, "No files added.");
        return;
    }
    trap.run(110, [&] { activity.setBusyPointer(); });
    trap.run(112, [&] { host.clearResults(); });
    trap.run(114, [&] { host.addResultColumns(resultColumnsFor(host.saveOption())); });

    std::int32_t fileCount = 0;
    trap.run(116, [&] { fileCount = host.fileCount(); });
    std::string FilePath;
    std::string BaseName;
    std::string Separator;
    for (std::int32_t i = 1; i <= fileCount; ++i) {
        trap.run(118, [&] {
            activity.setProgressValue(
                static_cast<int>(std::nearbyint(static_cast<double>(i) / fileCount * 100.0)));
        });
        trap.run(120, [&] { activity.setBusyPointer(); });
        trap.run(122, [&] { FilePath = host.fileEntry(i); });
        trap.run(124, [&] { BaseName = GetFileName(StripExtension(FilePath)); });
        Separator = context.lineFormat.separator();
        trap.run(128, [&] {
            if (const ExportMode mode = exportModeFor(host.saveOption())) {
                mode(context, FilePath, BaseName, Separator, ResultIndex);
            }
        });
        host.workbookDone();
    }
    trap.run(130, [&] { activity.setProgressValue(0); });
    trap.run(132, [&] { activity.setDefaultPointer(); });
    trap.run(134, [&] { activity.setProgressText("Progress Bar"); });
    trap.run(136, [&] { host.handOver(ResultIndex - 1); });
}

}  // namespace tabulon
