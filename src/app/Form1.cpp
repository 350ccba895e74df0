// The main window: layout, start-up sequence, save-option persistence and the hover pointer.
#include "app/Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <chrono>

#include "app/IsInstalled.h"
#include "app/SignalEnd.h"
#include "core/ErrorTrap.h"
#include "core/export/ExportDriver.h"
#include "core/export/SaveOptions.h"
#include "core/export/WarnIfExcelOpen.h"
#include "core/ui/PasswordPrompt.h"
#include "core/util/Files.h"
#include "filelist/FileList.h"
#include "results/Form2.h"
#include "widgets/Artwork.h"
#include "widgets/IconButton.h"
#include "widgets/ListView.h"
#include "widgets/SettingsStore.h"
#include "widgets/Twips.h"
#include "widgets/WindowHelpers.h"
#include "widgets/WindowPointer.h"
#include "widgets/WindowStyle.h"

namespace tabulon {
namespace {

constexpr const char* kListToolTip =
    "Drag and drop files here. Double-click item to remove it. Move bar to right and out of "
    "window to reveal full names.";
constexpr int kEventPassMilliseconds = 15;

bool withinOnePass(const std::optional<std::int64_t>& last, std::int64_t now) {
    return last && now - *last < kEventPassMilliseconds;
}

QPushButton* makeArrowButton(QWidget* parent, const char* name, ArrowDirection direction,
                             const QString& caption, QRect geometry) {
    auto* button = new IconButton(arrowIcon(direction), caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFont(arialBold(kButtonFontPoints));
    return button;
}

}  // namespace

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    setObjectName("Form1");
    makeFixedWindow(*this, 8040, 5700);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    buildControls();
    fileList_ = new FileList(*this,
                             {.addFiles = PushButton1,
                              .addFolder = PushButton4,
                              .moveUp = PushButton3,
                              .moveDown = PushButton5,
                              .clear = PushButton6,
                              .samples = PushButton7},
                             this);
    lastEventPass_ = now();
}

std::int64_t Form1::now() const {
    if (services_.milliseconds) return services_.milliseconds();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Form1::buildControls() {
    ListView1 = new ListView(this);
    ListView1->setObjectName("ListView1");
    ListView1->setGeometry(twipsRect(120, 120, 6840, 2535));
    ListView1->setFont(arialBold(kWindowFontPoints));
    ListView1->setToolTip(kListToolTip);

    PushButton3 = makeArrowButton(this, "PushButton3", ArrowDirection::Up, "Move Up",
                                  twipsRect(7080, 120, 840, 1200));
    PushButton5 = makeArrowButton(this, "PushButton5", ArrowDirection::Down, "Move Down",
                                  twipsRect(7080, 1440, 840, 1200));
    PushButton1 =
        makePushButton(this, "PushButton1", "Add Excel File(s)", twipsRect(120, 2760, 3840, 405));
    PushButton4 = makePushButton(this, "PushButton4", "Add All Excel Files In Folder",
                                 twipsRect(4080, 2760, 3840, 405));
    PushButton6 =
        makePushButton(this, "PushButton6", "Clear List", twipsRect(120, 3285, 3840, 405));
    PushButton7 = makePushButton(this, "PushButton7", "Load Sample/Example Files",
                                 twipsRect(4080, 3300, 3840, 405));

    Frame1 = new QGroupBox("Save Options", this);
    Frame1->setObjectName("Frame1");
    Frame1->setGeometry(twipsRect(120, 3735, 7800, 800));
    Combo1 = new QComboBox(Frame1);
    Combo1->setObjectName("Combo1");
    Combo1->setGeometry(twipsRect(225, 300, 7335, 345));

    PushButton2 = makePushButton(this, "PushButton2", "Start Exporting To CSV",
                                 twipsRect(120, 4650, 7800, 405));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setGeometry(twipsRect(120, 5175, 7800, 405));
    ProgressBar1->setFont(arialBold(kButtonFontPoints));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(true);
    ProgressBar1->setAlignment(Qt::AlignCenter);
    ProgressBar1->setFormat("Progress Bar");

    pointer_ = new WindowPointer(*this);
    for (QPushButton* button : {PushButton1, PushButton2, PushButton3, PushButton4, PushButton5,
                                PushButton6, PushButton7}) {
        pointer_->addHandControl(*button);
    }
    pointer_->addPlainControl(*Frame1);
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
}

void Form1::Form_Load() {
    ErrorTrap trap(services_.errors, "Form1.Form_Load");
    const QString handFile = services_.programFolder + "/HAND-M.CUR";
    trap.run(100, [&] { ApplySkin(*this, services_.programFolder); });
    trap.run(102, [&] { CenterForm(*this); });
    if (trap.test(104, [&] { return FileExists(handFile.toStdString()); })) {
        trap.run(106, [&] { pointer_->loadCustom(handFile); });
    }
    trap.run(108, [&] { setWindowTitle(kAppTitle); });
    trap.run(110, [&] { setWindowIcon(applicationIcon()); });
    trap.run(112, [&] { ListView1->addColumn("Excel File(s)"); });
    trap.run(114, [&] { ListView1->setColumnWidthTwips(1, 6200); });
    trap.run(116, [&] {
        const QSignalBlocker quiet(Combo1);
        for (const char* option : kSaveOptions) Combo1->addItem(option);
        Combo1->setCurrentIndex(-1);
        connect(Combo1, &QComboBox::currentIndexChanged, this, &Form1::Combo1_Click);
        connect(Combo1, &QComboBox::activated, this, &Form1::Combo1_Click);
    });
    trap.run(118, [&] {
        const std::string chosen = services_.settings.get(kKeyDirections, kSaveEachBookOption);
        const int found = Combo1->findText(QString::fromStdString(chosen), Qt::MatchExactly);
        if (found >= 0) {
            Combo1->setCurrentIndex(found);
        } else {
            // A stored text that is none of the options selects none and stays stored.
            const QSignalBlocker quiet(Combo1);
            Combo1->setCurrentIndex(-1);
        }
    });
    trap.run(120, [&] { CheckExcelInstalled(services_.dialogs, services_.createEngineInstance); });
}

// Both the click and the change of the option list store the current text at once.
void Form1::Combo1_Click() {
    services_.settings.save(kKeyDirections, Combo1->currentText().toStdString());
}

Form1::~Form1() = default;

ListView& Form1::fileList() const { return *ListView1; }

Dialogs& Form1::dialogs() const { return services_.dialogs; }

ErrorReporter& Form1::errors() const { return services_.errors; }

SettingsStore& Form1::settings() const { return services_.settings; }

QString Form1::programFolder() const { return services_.programFolder; }

Activity& Form1::activity() { return *this; }

MousePointer Form1::mousePointer() const { return pointer_->value(); }

void Form1::setMousePointer(MousePointer pointer) { pointer_->set(pointer); }

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    QApplication::closeAllWindows();
    QApplication::quit();
}

void Form1::setProgressValue(int percent) {
    pendingProgressValue_ = percent;
    if (!withinOnePass(lastProgressValue_, now())) showPendingProgress();
}

void Form1::setProgressText(const std::string& text) {
    pendingProgressText_ = text;
    if (!withinOnePass(lastProgressText_, now())) showPendingProgress();
}

void Form1::showPendingProgress() {
    if (pendingProgressValue_) {
        ProgressBar1->setValue(*pendingProgressValue_);
        pendingProgressValue_.reset();
        lastProgressValue_ = now();
    }
    if (pendingProgressText_) {
        ProgressBar1->setFormat(QString::fromStdString(*pendingProgressText_));
        pendingProgressText_.reset();
        lastProgressText_ = now();
    }
}

void Form1::setBusyPointer() { pointer_->set(MousePointer::Busy); }

void Form1::setDefaultPointer() { pointer_->set(MousePointer::Default); }

void Form1::processEvents() {
    if (withinOnePass(lastEventPass_, now())) return;
    showPendingProgress();
    QCoreApplication::processEvents();
    lastEventPass_ = now();
}

void Form1::PushButton2_Click() {
    if (exportRunning_) return;
    exportRunning_ = true;
    // A new store for every run: the results window may still show the last run's texts.
    resultTexts_ = std::make_shared<ResultStore>();
    PasswordPrompt passwords(services_.dialogs);
    ExportContext context{services_.errors, *this, *this, *resultTexts_, &passwords};
    ExportRun run{context, services_.dialogs, services_.warnIfExcelOpen};
    if (!run.warnIfExcelOpen) {
        run.warnIfExcelOpen = [this] { return WarnIfExcelOpen(services_.dialogs); };
    }
    runExport(run);
    showPendingProgress();
    exportRunning_ = false;
}

void Form1::endBySignal(int signal) {
    if (exportRunning_) endNow(signal);
    QApplication::exit(128 + signal);
}

Form2& Form1::form2() {
    if (!form2_) {
        form2_ = std::make_unique<Form2>(Form2Services{
            services_.dialogs, services_.errors, services_.settings, services_.programFolder,
            [this] { return saveOption(); }, [this] { show(); }, services_.betweenSavedFiles});
        form2_->Form_Load();
    }
    return *form2_;
}

std::int32_t Form1::fileCount() const { return ListView1->itemCount(); }

std::string Form1::fileEntry(std::int32_t position) const {
    return ListView1->item(position).text().toStdString();
}

std::string Form1::saveOption() const { return Combo1->currentText().toStdString(); }

void Form1::clearResults() { form2().clearResults(); }

void Form1::addResultColumns(const std::vector<ResultColumn>& columns) {
    form2().addResultColumns(columns);
}

void Form1::handOver(std::int32_t totalResults) {
    form2().showResults(resultTexts_, totalResults);
    hide();
}

}  // namespace tabulon
