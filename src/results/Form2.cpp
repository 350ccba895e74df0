// The results window: the list of results, the preview, the output folder, saving and "< Back".
#include "results/Form2.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <algorithm>

#include "core/Error.h"
#include "core/ErrorTrap.h"
#include "core/export/ResultStore.h"
#include "core/export/SaveResults.h"
#include "core/util/Files.h"
#include "core/util/MappedFile.h"
#include "core/util/PathText.h"
#include "results/PlainTextPreview.h"
#include "results/ResultsModel.h"
#include "widgets/Artwork.h"
#include "widgets/ReportView.h"
#include "widgets/SettingsStore.h"
#include "widgets/Twips.h"
#include "widgets/WindowHelpers.h"
#include "widgets/WindowPointer.h"
#include "widgets/WindowStyle.h"

namespace tabulon {

Form2::Form2(Form2Services services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    setObjectName("Form2");
    makeFixedWindow(*this, 8040, 6240);
    buildControls();
}

void Form2::buildControls() {
    ListView1 = new QTreeView(this);
    ListView1->setObjectName("ListView1");
    results_ = new ResultsModel(ListView1);
    ListView1->setModel(results_);
    setUpReportView(*ListView1);
    ListView1->setGeometry(twipsRect(120, 120, 7800, 1815));
    ListView1->setFont(arialBold(kWindowFontPoints));

    Text2 = new PlainTextPreview(this);
    Text2->setObjectName("Text2");
    Text2->setGeometry(twipsRect(120, 2025, 7800, 2700));

    Frame1 = new QGroupBox("Save Results To This Folder", this);
    Frame1->setObjectName("Frame1");
    Frame1->setGeometry(twipsRect(120, 4770, 7800, 810));
    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName("Text1");
    Text1->setGeometry(twipsRect(240, 300, 6585, 345));
    PushButton7 = makePushButton(Frame1, "PushButton7", "...", twipsRect(6960, 300, 600, 345));

    PushButton8 = makePushButton(this, "PushButton8", "< Back", twipsRect(120, 5715, 3840, 405));
    PushButton6 = makePushButton(this, "PushButton6", "Save Results To CSV",
                                 twipsRect(4080, 5715, 3840, 405));

    setTabOrder(ListView1, Text2);
    setTabOrder(Text2, Text1);
    setTabOrder(Text1, PushButton7);
    setTabOrder(PushButton7, PushButton8);
    setTabOrder(PushButton8, PushButton6);

    pointer_ = new WindowPointer(*this);
    for (QPushButton* button : {PushButton6, PushButton7, PushButton8})
        pointer_->addHandControl(*button);
    for (QWidget* plain : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(ListView1),
                           ListView1->viewport(), static_cast<QWidget*>(Text1)}) {
        pointer_->addPlainControl(*plain);
    }

    connect(ListView1, &QAbstractItemView::clicked, this, [this] { ListView1_ItemClick(); });
    // The keys (Up, Down, Home, End, Page Up, Page Down) move the highlight without a click;
    // the preview follows it. A current row that is not highlighted (Ctrl with an arrow key)
    // leaves the preview as it is.
    connect(ListView1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && ListView1->selectionModel()->isSelected(current))
                    ListView1_ItemClick();
            });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(PushButton6, &QPushButton::clicked, this, [this] { PushButton6_Click(); });
    connect(PushButton7, &QPushButton::clicked, this, [this] { PushButton7_Click(); });
    connect(PushButton8, &QPushButton::clicked, this, [this] { PushButton8_Click(); });
}

void Form2::Form_Load() {
    SetFormColors(*this);
    CenterForm(*this);
    setWindowTitle(kAppTitle);
    setWindowIcon(applicationIcon());
    const QString handFile = services_.programFolder + "/HAND-M.CUR";
    if (FileExists(handFile.toStdString())) pointer_->loadCustom(handFile);
    std::string desktop;
    const std::string folder =
        services_.settings.get(kKeyOutputFolder, GetSpecialFolderDir(desktop));
    Text1->setText(QString::fromStdString(folder));
    Text1_Change();  // the setting holds the shown folder even when the text did not change
}

void Form2::clearResults() { results_->setColumns({}); }

void Form2::addResultColumns(const std::vector<ResultColumn>& columns) {
    QStringList headers;
    for (const ResultColumn& column : columns) headers << QString::fromStdString(column.header);
    results_->setColumns(headers);
    for (std::size_t i = 0; i < columns.size(); ++i)
        ListView1->setColumnWidth(static_cast<int>(i), twipsToPixels(columns[i].widthTwips));
}

void Form2::showResults(std::shared_ptr<const ResultStore> run, std::int32_t totalResults) {
    if (!run->empty()) {
        firstPreview_ = run->map(0);
        firstPreviewRun_ = run;
    }
    previewCount_ = std::max<std::int32_t>(1, static_cast<std::int32_t>(run->size()));
    results_->showRun(std::move(run));
    mTotalTextboxes = totalResults;
    Text2->setText(firstPreview_);
    show();
}

std::shared_ptr<const MappedFile> Form2::previewText(std::int32_t resultIndex) const {
    if (resultIndex == 1) return firstPreview_;
    if (resultIndex < 1 || resultIndex > previewCount_)
        throw Error("Control array element does not exist");
    return results_->run()->map(static_cast<std::size_t>(resultIndex) - 1);
}

const ResultStore* Form2::shownResults() const { return results_->run().get(); }

void Form2::ListView1_ItemClick() {
    const QModelIndex selected = ListView1->currentIndex();
    if (!selected.isValid() ||
        !ListView1->selectionModel()->isSelected(selected.siblingAtColumn(0)))
        return;
    pointer_->set(MousePointer::Busy);
    const std::int32_t k = selected.row() + 1;
    Text2->setText(previewText(k));
    pointer_->set(MousePointer::Default);
}

void Form2::Text1_Change() {
    services_.settings.save(kKeyOutputFolder, Text1->text().toStdString());
}

void Form2::PushButton6_Click() {
    saveResultFiles(SaveRequest{Text1->text().toStdString(), services_.saveOption(), shownResults(),
                                services_.betweenSavedFiles},
                    services_.dialogs, services_.errors);
}

void Form2::PushButton7_Click() {
    ErrorTrap trap(services_.errors, "Form2.PushButton7_Click");
    std::string chosen;
    trap.run(100, [&] { chosen = services_.dialogs.browseForFolder("Please select folder:"); });
    if (chosen.empty()) return;
    trap.run(104, [&] {
        if (chosen.back() != pathSeparator()) chosen += pathSeparator();
        Text1->setText(QString::fromStdString(chosen));
    });
}

void Form2::PushButton8_Click() {
    ErrorTrap trap(services_.errors, "Form2.PushButton8_Click");
    trap.run(100, [&] { previewCount_ = 1; });
    trap.run(102, [&] { services_.showMainWindow(); });
    trap.run(104, [&] { hide(); });
}

void Form2::closeEvent(QCloseEvent* event) {
    QCoreApplication::processEvents();
    event->accept();
    QApplication::closeAllWindows();
    QApplication::quit();
}

}  // namespace tabulon
