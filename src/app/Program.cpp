// Wires the windows to their services and runs the program until the main window closes.
#include "app/Program.h"

#include <QApplication>
#include <memory>

#include "app/Form1.h"
#include "app/ProgramFolder.h"
#include "app/SignalEnd.h"
#include "core/workbook/Application.h"
#include "filelist/DropFiles.h"
#include "widgets/QtDialogs.h"
#include "widgets/SettingsStore.h"

namespace tabulon {

int runProgram(const QStringList& paths) {
    QtDialogs dialogs;
    SettingsStore settings;
    // Ctrl+C or the end of the session ends the program as closing the window does, so that
    // the results' private folder does not stay behind; during a save, at the next file.
    std::unique_ptr<SignalEnd> signalEnd;
    // The engine is built in, so creating an instance only fails when memory runs out.
    Form1 form1(
        Form1Services{.dialogs = dialogs,
                      .errors = dialogs,
                      .settings = settings,
                      .createEngineInstance = [] { workbook::Application instance; },
                      .programFolder = programFolder(),
                      .betweenSavedFiles = [&signalEnd] { signalEnd->endNowIfSignalled(); }});
    signalEnd = std::make_unique<SignalEnd>([&form1](int signal) { form1.endBySignal(signal); });
    form1.Form_Load();
    form1.show();
    addDroppedPaths(form1, startPaths(paths));
    return QApplication::exec();
}

}  // namespace tabulon
