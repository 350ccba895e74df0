// The user-facing dialogs and the error box, shown with Qt's standard dialogs.
#include "widgets/QtDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace tabulon {
namespace {

// Message texts carry CR LF and lone CR line ends; Qt breaks lines at LF only.
QString displayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    return shown;
}

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(Buttons buttons) {
    switch (buttons) {
        case Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

Answer fromQt(int button) {
    switch (button) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            return Answer::Ok;
    }
}

}  // namespace

Answer QtDialogs::messageBox(const std::string& text, Buttons buttons, Icon icon,
                             const std::string& title) {
    QMessageBox box(toQt(icon), QString::fromStdString(title), displayText(text), toQt(buttons),
                    QApplication::activeWindow());
    return fromQt(box.exec());
}

std::string QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) {
    bool ok = false;
    const QString typed = QInputDialog::getText(
        QApplication::activeWindow(), QString::fromStdString(title), displayText(prompt),
        QLineEdit::Normal, QString::fromStdString(defaultText), &ok);
    return ok ? typed.toStdString() : std::string();
}

std::optional<std::string> QtDialogs::passwordBox(const std::string& prompt,
                                                  const std::string& title) {
    bool ok = false;
    const QString typed =
        QInputDialog::getText(QApplication::activeWindow(), QString::fromStdString(title),
                              displayText(prompt), QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return typed.toStdString();
}

std::vector<std::string> QtDialogs::openFiles(const std::string& title, const std::string& filter,
                                              bool multiSelect) {
    QStringList chosen;
    const QString caption = QString::fromStdString(title);
    const QString filters = QString::fromStdString(filter);
    if (multiSelect) {
        chosen = QFileDialog::getOpenFileNames(QApplication::activeWindow(), caption, {}, filters);
    } else {
        const QString one =
            QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, {}, filters);
        if (!one.isEmpty()) chosen << one;
    }
    std::vector<std::string> paths;
    for (const QString& path : chosen)
        paths.push_back(QDir::toNativeSeparators(path).toStdString());
    return paths;
}

std::string QtDialogs::browseForFolder(const std::string& prompt) {
    const QString folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(),
                                                             QString::fromStdString(prompt));
    return QDir::toNativeSeparators(folder).toStdString();
}

void QtDialogs::openFolder(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void QtDialogs::reportError(const TrappedError& error) {
    messageBox(errorBoxText(error), Buttons::Ok, Icon::Exclamation, kErrorBoxTitle);
}

void QtDialogs::reportNotice(const std::string& file, const std::string& text) {
    messageBox(text + ": " + file, Buttons::Ok, Icon::None, kAppTitle);
}

}  // namespace tabulon
