// Files and folders dragged from the desktop onto the file list, or given to the program when
// it starts.
#include "filelist/DropFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

#include "core/util/DroppedPaths.h"
#include "filelist/FileListHost.h"
#include "filelist/UnreadableFoldersNotice.h"
#include "widgets/ListView.h"

namespace tabulon {

std::vector<std::string> draggedFilePaths(const QMimeData& data) {
    if (!data.hasUrls()) return {};
    const QList<QUrl> urls = data.urls();
    const bool allLocal =
        std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
    if (!allLocal) return {};
    std::vector<std::string> paths;
    for (const QUrl& url : urls)
        paths.push_back(QDir::toNativeSeparators(url.toLocalFile()).toStdString());
    return paths;
}

bool ListView1_OLEDragOver(const QMimeData& data) { return !draggedFilePaths(data).empty(); }

void ListView1_OLEDragDrop(FileListHost& host, const QMimeData& data) {
    addDroppedPaths(host, draggedFilePaths(data));
}

std::vector<std::string> startPaths(const QStringList& arguments) {
    std::vector<std::string> paths;
    for (const QString& argument : arguments) {
        if (argument.isEmpty()) continue;
        paths.push_back(
            QDir::toNativeSeparators(QFileInfo(argument).absoluteFilePath()).toStdString());
    }
    return paths;
}

void addDroppedPaths(FileListHost& host, const std::vector<std::string>& paths) {
    std::vector<UnreadableFolder> unreadable;
    for (const std::string& entry : droppedPathEntries(paths, host.activity(), &unreadable))
        host.fileList().addItem(QString::fromStdString(entry));
    showUnreadableFolders(host.dialogs(), unreadable);
}

}  // namespace tabulon
