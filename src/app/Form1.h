// The main window: the file list, the save options, the export button and the progress bar.
#pragma once

#include <QCursor>
#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/MousePointer.h"
#include "core/ui/Activity.h"
#include "core/ui/Dialogs.h"
#include "core/ui/ErrorReporter.h"

class QComboBox;
class QGroupBox;
class QProgressBar;
class QPushButton;

namespace tabulon {

class FileList;
class ListView;
class SettingsStore;

// What the main window needs from the rest of the program.
struct Form1Services {
    Dialogs& dialogs;
    ErrorReporter& errors;
    SettingsStore& settings;
    std::function<void()> createEngineInstance;  // throws when no engine can be had
    QString programFolder;
};

class Form1 : public QWidget, public Activity {
    Q_OBJECT
  public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);

    // The start-up sequence: skin, centring, hand pointer, caption, list column, save options,
    // engine check. Each failing step is reported and the next one runs.
    void Form_Load();

    // True while an export run is in progress: inputs that would start a second run or change
    // the file list are ignored meanwhile.
    bool exportRunning() const { return exportRunning_; }
    const Form1Services& services() const { return services_; }

    MousePointer mousePointer() const { return pointer_; }
    void setMousePointer(MousePointer pointer);

    // Activity: what a running export shows in this window.
    void setProgressValue(int percent) override;
    void setProgressText(const std::string& text) override;
    void setBusyPointer() override;
    void setDefaultPointer() override;
    void processEvents() override;

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
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void buildControls();
    void Combo1_Click();
    void PushButton_MouseMove();
    void Form_MouseMove();

    Form1Services services_;
    MousePointer pointer_ = MousePointer::Default;
    bool exportRunning_ = false;
    std::optional<QCursor> handCursor_;
    QElapsedTimer lastEventPass_;
    FileList* fileList_ = nullptr;  // the file list's event handlers, owned as a child
};

}  // namespace tabulon
