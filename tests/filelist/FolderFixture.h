// A temporary folder tree of small files for the adders.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tabulon::testing {

class FolderTree {
  public:
    // Creates the file (and its folders) below the tree's root; returns its full native path.
    QString file(const QString& relative, bool writable = true) {
        const QString path = dir_.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write("x");
        out.close();
        if (!writable) out.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        return QDir::toNativeSeparators(path);
    }
    QString folder(const QString& relative = {}) const {
        return QDir::toNativeSeparators(relative.isEmpty() ? dir_.path() : dir_.filePath(relative));
    }

  private:
    QTemporaryDir dir_;
};

}  // namespace tabulon::testing
