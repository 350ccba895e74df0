// The main window: the file list, the save options, the export button and the progress bar.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/export/ExportHost.h"
#include "core/export/ResultStore.h"
#include "core/ui/Activity.h"
#include "core/ui/Dialogs.h"
#include "core/ui/ErrorReporter.h"
#include "filelist/FileListHost.h"
#include "widgets/MousePointer.h"

class QComboBox;
class QGroupBox;
class QProgressBar;
class QPushButton;

namespace tabulon {

class FileList;
class Form2;
class ListView;
class WindowPointer;
class SettingsStore;

// What the main window needs from the rest of the program.
struct Form1Services {
    Dialogs& dialogs;
    ErrorReporter& errors;
    SettingsStore& settings;
    std::function<void()> createEngineInstance;  // throws when no engine can be had
    QString programFolder;
    // Asks whether to go on when a spreadsheet program is open (true stops the run); the
    // process list is looked at when this is not set.
    std::function<bool()> warnIfExcelOpen = {};
    // Called between two files of a save in the results window, if set.
    std::function<void()> betweenSavedFiles = {};
    // Milliseconds on a steady clock, which paces event passes and progress updates; the
    // system's steady clock when not set (tests move their own).
    std::function<std::int64_t()> milliseconds = {};
};

class Form1 : public QWidget, public Activity, public ExportHost, public FileListHost {
    Q_OBJECT
  public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // The start-up sequence: skin, centring, hand pointer, caption, list column, save options,
    // engine check. Each failing step is reported and the next one runs.
    void Form_Load();

    const Form1Services& services() const { return services_; }

    // "Start Exporting To CSV": exports every listed workbook with the chosen option and hands
    // the results to the results window.
    void PushButton2_Click();
    // Ends the program on a signal with 128 + its number, leaving nothing in the temporary
    // folder: through the event loop as closing the window does, or at once while an export
    // runs (its results are removed first).
    void endBySignal(int signal);
    // The results window, created and loaded on first use.
    Form2& form2();
    // The last run's results; result k sits at index k - 1. Each run keeps them in a private
    // folder of its own, removed once no window shows them any more.
    const ResultStore& ResultTexts() const { return *resultTexts_; }

    // Activity: what a running export shows in this window.
    void setProgressValue(int percent) override;
    void setProgressText(const std::string& text) override;
    void setBusyPointer() override;
    void setDefaultPointer() override;
    void processEvents() override;

    // ExportHost: the file list, the option and the results window, as an export run sees them.
    std::int32_t fileCount() const override;
    std::string fileEntry(std::int32_t position) const override;
    std::string saveOption() const override;
    void clearResults() override;
    void addResultColumns(const std::vector<ResultColumn>& columns) override;
    void handOver(std::int32_t totalResults) override;

    // FileListHost: the list, the services and the pointer, as the file list's handlers see them.
    // While an export runs, inputs that would start a second run or change the list are ignored.
    ListView& fileList() const override;
    Dialogs& dialogs() const override;
    ErrorReporter& errors() const override;
    SettingsStore& settings() const override;
    QString programFolder() const override;
    Activity& activity() override;
    bool exportRunning() const override { return exportRunning_; }
    MousePointer mousePointer() const override;
    void setMousePointer(MousePointer pointer) override;

    ListView* ListView1;
    QPushButton* PushButton1;
    QPushButton* PushButton2;
    QPushButton* PushButton3;
    QPushButton* PushButton4;
    QPushButton* PushButton5;
    QPushButton* PushButton6;
    QPushButton* PushButton7;
    QGroupBox* Frame1;
    QComboBox* Combo1;
    QProgressBar* ProgressBar1;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void Combo1_Click();
    void showPendingProgress();

    Form1Services services_;
    WindowPointer* pointer_;
    bool exportRunning_ = false;
    std::shared_ptr<ResultStore> resultTexts_ = std::make_shared<ResultStore>();
    std::unique_ptr<Form2> form2_;
    std::int64_t now() const;

    std::optional<std::int64_t> lastEventPass_;
    // The book option changes the progress text at every row, the others the value at every
    // percent, far more often than the window repaints (and the bar repaints at once for every
    // new value); what comes within one event-pass interval waits for the next pass.
    std::optional<std::string> pendingProgressText_;
    std::optional<std::int64_t> lastProgressText_;
    std::optional<int> pendingProgressValue_;
    std::optional<std::int64_t> lastProgressValue_;
    FileList* fileList_ = nullptr;  // the file list's event handlers, owned as a child
};

}  // namespace tabulon
