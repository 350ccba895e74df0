// Where the program finds its own files: the pointer files, the samples and the skin file.
#include "app/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tabulon {
namespace {

bool holdsProgramFiles(const QDir& folder) {
    for (const char* name : {"HAND-M.CUR", "drag.ico", "Samples"}) {
        if (folder.exists(QString::fromLatin1(name))) return true;
    }
    return false;
}

}  // namespace

QString programFolderFor(const QString& executableFolder) {
    const QDir beside(executableFolder);
    if (holdsProgramFiles(beside)) return executableFolder;
    // TABULON_DATA_FROM_BIN: the installed data folder relative to the executable's folder,
    // set by the build from its installation folders.
    const QString installed =
        QDir::cleanPath(beside.absoluteFilePath(QString::fromLatin1(TABULON_DATA_FROM_BIN)));
    if (QFileInfo(installed).isDir()) return QDir::toNativeSeparators(installed);
    return executableFolder;
}

QString programFolder() { return programFolderFor(QCoreApplication::applicationDirPath()); }

}  // namespace tabulon
