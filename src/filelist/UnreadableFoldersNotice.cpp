// The notice after a folder add or a drop that met folders it could not read.
#include "filelist/UnreadableFoldersNotice.h"

#include "core/ui/Dialogs.h"

namespace tabulon {

std::string unreadableFoldersNotice(const std::vector<UnreadableFolder>& folders) {
    std::string text = kUnreadableFoldersText;
    for (std::size_t i = 0; i < folders.size() && i < kUnreadableFoldersShown; ++i)
        text += "\r" + folders[i].path + " (" + folders[i].reason + ")";
    if (folders.size() > kUnreadableFoldersShown)
        text += "\rand " + std::to_string(folders.size() - kUnreadableFoldersShown) + " more";
    return text;
}

void showUnreadableFolders(Dialogs& dialogs, const std::vector<UnreadableFolder>& folders) {
    if (!folders.empty()) notify(dialogs, unreadableFoldersNotice(folders));
}

}  // namespace tabulon
