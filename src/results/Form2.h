// The results window: the list of results, the preview, the output folder, saving and "< Back".
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/export/ExportHost.h"
#include "core/ui/Dialogs.h"
#include "core/ui/ErrorReporter.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace tabulon {

class MappedFile;
class PlainTextPreview;
class ResultStore;
class ResultsModel;
class SettingsStore;
class WindowPointer;

struct Form2Services {
    Dialogs& dialogs;
    ErrorReporter& errors;
    SettingsStore& settings;
    QString programFolder;
    // The main window's current save option, and the way back to it.
    std::function<std::string()> saveOption;
    std::function<void()> showMainWindow;
    // Called between two saved files, if set.
    std::function<void()> betweenSavedFiles = {};
};

class Form2 : public QWidget {
    Q_OBJECT
  public:
    explicit Form2(Form2Services services, QWidget* parent = nullptr);

    // Colours, centring, caption, hand pointer and the output folder from the settings.
    void Form_Load();

    // What an export run does to this window.
    void clearResults();
    void addResultColumns(const std::vector<ResultColumn>& columns);
    // Lists the run's results, records their number, previews the first one (a run without
    // results keeps the first preview of the run before) and shows the window.
    void showResults(std::shared_ptr<const ResultStore> run, std::int32_t totalResults);

    // The text that row k (1-based) previews, mapped from the run's store.
    std::shared_ptr<const MappedFile> previewText(std::int32_t resultIndex) const;
    // The results that the list shows, if any.
    const ResultStore* shownResults() const;

    void ListView1_ItemClick();
    void Text1_Change();
    void PushButton6_Click();
    void PushButton7_Click();
    void PushButton8_Click();

    // The number of results of the last run.
    std::int32_t mTotalTextboxes = 0;

    QTreeView* ListView1;
    PlainTextPreview* Text2;
    QGroupBox* Frame1;
    QLineEdit* Text1;
    QPushButton* PushButton7;
    QPushButton* PushButton8;
    QPushButton* PushButton6;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();

    Form2Services services_;
    WindowPointer* pointer_;
    ResultsModel* results_;
    // The first result's text stays across "< Back" and a following run without results: its
    // run is held, folder and all, until another run's first result takes its place. The
    // others are mapped from the shown run while this window shows them.
    std::shared_ptr<const ResultStore> firstPreviewRun_;
    std::shared_ptr<const MappedFile> firstPreview_;
    std::int32_t previewCount_ = 1;
};

}  // namespace tabulon
