// The results window: the list of results, the preview, the output folder, saving and "< Back".
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/export/ExportHost.h"
#include "core/export/ResultStore.h"
#include "core/ui/Dialogs.h"
#include "core/ui/ErrorReporter.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tabulon {

class ListView;
class MappedFile;
class PlainTextPreview;
class SettingsStore;
class WindowPointer;

struct Form2Services {
    Dialogs& dialogs;
    ErrorReporter& errors;
    SettingsStore& settings;
    QString programFolder;
    // The texts of the last run's results, which saving writes.
    const ResultStore& resultTexts;
    // The main window's current save option, and the way back to it.
    std::function<std::string()> saveOption;
    std::function<void()> showMainWindow;
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
    std::int32_t addResultRow(const std::string& name);
    void setResultSubItem(std::int32_t row, int index, const std::string& text);
    void setPreviewText(std::int32_t resultIndex, const StoredText& text);
    // Records the number of results, previews the first one and shows the window.
    void showResults(std::int32_t totalResults);

    // The text that row k (1-based) previews, mapped from its stored file.
    std::shared_ptr<const MappedFile> previewText(std::int32_t resultIndex) const;

    void ListView1_ItemClick();
    void Text1_Change();
    void PushButton6_Click();
    void PushButton7_Click();
    void PushButton8_Click();

    // The number of results of the last run.
    std::int32_t mTotalTextboxes = 0;

    ListView* ListView1;
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
    // The first result's text stays across "< Back", and even after its file is removed with
    // its run's folder, since the mapping keeps it; the others are mapped from the result texts
    // while this window shows them.
    std::shared_ptr<const MappedFile> firstPreview_;
    std::int32_t previewCount_ = 1;
};

}  // namespace tabulon
