// The notice after a folder add or a drop that met folders it could not read.
#pragma once

#include <string>
#include <vector>

#include "core/util/UnreadableFolders.h"

namespace tabulon {

class Dialogs;

inline constexpr const char* kUnreadableFoldersText =
    "These folders could not be read, so their files are not in the list:";
inline constexpr std::size_t kUnreadableFoldersShown = 10;

// The notice's text: the lead line, then one line "FOLDER (reason)" for each of the first ten
// folders, then "and N more" for the rest.
std::string unreadableFoldersNotice(const std::vector<UnreadableFolder>& folders);

// Shows the notice once, when there are folders at all.
void showUnreadableFolders(Dialogs& dialogs, const std::vector<UnreadableFolder>& folders);

}  // namespace tabulon
