// "Add Excel File(s)" and "Add All Excel Files In Folder": appending workbooks to the file list.
#include "filelist/AddFiles.h"

#include "app/Form1.h"
#include "core/ErrorTrap.h"
#include "core/util/FolderTree.h"
#include "filelist/OpenDialogSelection.h"
#include "widgets/ListView.h"
#include "widgets/SettingsStore.h"

namespace tabulon {
namespace {

void appendEntries(Form1& form, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) form.ListView1->addItem(QString::fromStdString(path));
}

}  // namespace

void PushButton1_Click(Form1& form) {
    Dialogs& dialogs = form.services().dialogs;
    ErrorTrap trap(form.services().errors, "Form1.PushButton1_Click");
    std::vector<std::string> chosen;
    trap.run(100, [&] { chosen = dialogs.openFiles(kAddFilesTitle, kAddFilesFilter, true); });
    if (trap.test(102, [&] { return chosen.empty(); })) return;
    std::optional<std::vector<std::string>> entries;
    if (trap.test(104, [&] { return !(entries = OpenDialogEntries(chosen)); })) {
        notify(dialogs, kTooManyFilesMessage);
        return;
    }
    trap.run(106, [&] { appendEntries(form, *entries); });
}

void PushButton4_Click(Form1& form) {
    const Form1Services& services = form.services();
    ErrorTrap trap(services.errors, "Form1.PushButton4_Click");
    std::string extension;
    trap.run(100, [&] {
        extension = services.dialogs.inputBox(kExtensionPrompt, kAppTitle, kDefaultExtension);
    });
    if (trap.test(102, [&] { return extension.empty(); })) return;
    trap.run(104, [&] { services.settings.save(kKeyExtension, extension); });
    std::string folder;
    trap.run(106, [&] { folder = services.dialogs.browseForFolder(kFolderPrompt); });
    if (trap.test(108, [&] { return folder.empty(); })) return;
    trap.run(110, [&] { form.setBusyPointer(); });
    std::vector<std::string> files;
    trap.run(112, [&] { files = FolderTreeFiles(folder, "*." + extension, form); });
    trap.run(114, [&] { appendEntries(form, files); });
    trap.run(116, [&] { form.setDefaultPointer(); });
}

}  // namespace tabulon
