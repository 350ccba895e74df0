// Shared window routines: desktop folder, centring, colours and the optional skin.
#include "widgets/WindowHelpers.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include "core/Error.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

void setBackground(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

bool takesFormColour(const QWidget& control) {
    return qobject_cast<const QRadioButton*>(&control) != nullptr ||
           qobject_cast<const QCheckBox*>(&control) != nullptr ||
           qobject_cast<const QGroupBox*>(&control) != nullptr ||
           qobject_cast<const QLabel*>(&control) != nullptr;
}

}  // namespace

std::string GetSpecialFolderDir(std::string& folder) {
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // Many Linux desktops keep no desktop folder; results saved to one that does not exist
    // would fail, so the home folder stands in for it.
    if (desktop.isEmpty() || !QFileInfo(desktop).isDir()) desktop = QDir::homePath();
    if (desktop.isEmpty()) throw Error("The desktop folder cannot be found");
    folder = QDir::toNativeSeparators(desktop).toStdString();
    if (folder.back() != pathSeparator()) folder += pathSeparator();
    return folder;
}

QPoint centeredPosition(QSize screen, QSize window) {
    return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}

void CenterForm(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) throw Error("No screen");
    window.move(centeredPosition(screen->geometry().size(), window.frameGeometry().size()));
}

void SetFormColors(QWidget& window) {
    const QColor buttonFace = window.palette().color(QPalette::Button);
    setBackground(window, buttonFace);
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (takesFormColour(*control)) setBackground(*control, buttonFace);
    }
}

void ApplySkin(QWidget& mainWindow, const QString& folder) {
    const QFileInfo skin(folder + "/x/o.cjs");
    if (!skin.isFile() || skin.isHidden()) return;
    SetFormColors(mainWindow);
}

}  // namespace tabulon
