// "Add Excel File(s)" and "Add All Excel Files In Folder": appending workbooks to the file list.
#include "filelist/AddFiles.h"

#include "core/ErrorTrap.h"
#include "core/util/FolderTree.h"
#include "filelist/FileListHost.h"
#include "filelist/OpenDialogSelection.h"
#include "filelist/UnreadableFoldersNotice.h"
#include "widgets/ListView.h"
#include "widgets/SettingsStore.h"

namespace tabulon {
namespace {

void appendEntries(ListView& list, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) list.addItem(QString::fromStdString(path));
}

}  // namespace

void PushButton1_Click(FileListHost& host) {
    Dialogs& dialogs = host.dialogs();
    ErrorTrap trap(host.errors(), "Form1.PushButton1_Click");
    std::vector<std::string> chosen;
    trap.run(100, [&] { chosen = dialogs.openFiles(kAddFilesTitle, kAddFilesFilter, true); });
    if (trap.test(102, [&] { return chosen.empty(); })) return;
    std::optional<std::vector<std::string>> entries;
    if (trap.test(104, [&] { return !(entries = openDialogEntries(chosen)); })) {
        notify(dialogs, kTooManyFilesMessage);
        return;
    }
    trap.run(106, [&] { appendEntries(host.fileList(), *entries); });
}

void PushButton4_Click(FileListHost& host) {
    ErrorTrap trap(host.errors(), "Form1.PushButton4_Click");
    std::string extension;
    trap.run(100, [&] {
        extension = host.dialogs().inputBox(kExtensionPrompt, kAppTitle, kDefaultExtension);
    });
    if (trap.test(102, [&] { return extension.empty(); })) return;
    trap.run(104, [&] { host.settings().save(kKeyExtension, extension); });
    std::string folder;
    trap.run(106, [&] { folder = host.dialogs().browseForFolder(kFolderPrompt); });
    if (trap.test(108, [&] { return folder.empty(); })) return;
    trap.run(110, [&] { host.activity().setBusyPointer(); });
    std::vector<std::string> files;
    std::vector<UnreadableFolder> unreadable;
    trap.run(112, [&] {
        files = folderTreeFiles(folder, "*." + extension, host.activity(), &unreadable);
    });
    trap.run(114, [&] { appendEntries(host.fileList(), files); });
    trap.run(116, [&] { host.activity().setDefaultPointer(); });
    trap.run(118, [&] { showUnreadableFolders(host.dialogs(), unreadable); });
}

}  // namespace tabulon
