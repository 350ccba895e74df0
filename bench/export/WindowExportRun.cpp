// Runs one export and save through the real windows, offscreen, as a whole process, so that its
// time can be set beside tabulon-cli's on the same files:
//   bench_window_export --mode book|sheet|row|column --output DIR FILE...
// Prints the seconds spent exporting, opening the results window and saving.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <cstdio>
#include <map>
#include <string>

#include "app/Form1.h"
#include "core/export/SaveOptions.h"
#include "core/ui/Activity.h"
#include "core/ui/Dialogs.h"
#include "core/ui/ErrorReporter.h"
#include "results/Form2.h"
#include "widgets/ListView.h"
#include "widgets/SettingsStore.h"

namespace {

using namespace tabulon;

// Answers every question with its default and counts the errors, without showing anything.
class SilentUi : public Dialogs, public ErrorReporter {
  public:
    int errors = 0;
    Answer messageBox(const std::string&, Buttons buttons, Icon, const std::string&) override {
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::optional<std::string> passwordBox(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::vector<std::string> openFiles(const std::string&, const std::string&, bool) override {
        return {};
    }
    std::string browseForFolder(const std::string&) override { return {}; }
    void openFolder(const std::string&) override {}
    void reportError(const TrappedError&) override { ++errors; }
    void reportNotice(const std::string&, const std::string&) override {}
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::map<std::string, const char*> modes = {{"book", kSaveEachBookOption},
                                                      {"sheet", kSaveEachSheetOption},
                                                      {"row", kSaveEachRowOption},
                                                      {"column", kSaveEachColOption}};
    std::string option = kSaveEachBookOption;
    std::string output = ".";
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--mode" && i + 1 < argc) {
            option = modes.at(argv[++i]);
        } else if (argument == "--output" && i + 1 < argc) {
            output = argv[++i];
        } else {
            files.push_back(argument);
        }
    }
    SilentUi ui;
    SettingsStore settings;
    Form1 form(Form1Services{ui, ui, settings, [] {}, QString(), [] { return false; }});
    form.Form_Load();
    form.show();
    form.Combo1->setCurrentText(QString::fromStdString(option));
    for (const std::string& file : files) form.ListView1->addItem(QString::fromStdString(file));

    QElapsedTimer timer;
    timer.start();
    form.PushButton2_Click();
    const double exportSeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();
    QCoreApplication::processEvents();  // the results window lays out and paints
    const double openSeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();
    form.form2().Text1->setText(QString::fromStdString(output));
    form.form2().PushButton6_Click();
    const double saveSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("export %.2f s, results window %.3f s, save %.2f s, %d results, %d errors\n",
                exportSeconds, openSeconds, saveSeconds, form.form2().mTotalTextboxes, ui.errors);
    return ui.errors == 0 ? 0 : 1;
}
