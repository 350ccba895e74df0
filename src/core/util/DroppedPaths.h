// Turning paths dropped on the file list into list entries.
#pragma once

#include <string>
#include <vector>

#include "core/util/UnreadableFolders.h"

namespace tabulon {

class EventPass;

// The entries to append for the dropped paths, in drop order: a path that names a folder the
// directory search can see (not hidden) brings every file of its tree, as folderTreeFiles with
// "*.*" gives them; anything else is appended exactly as dropped, whatever its type, even when
// it no longer exists. The folders of the trees that cannot be read are noted in unreadable (when
// given), each once.
std::vector<std::string> droppedPathEntries(const std::vector<std::string>& dropped,
                                            EventPass& events,
                                            std::vector<UnreadableFolder>* unreadable = nullptr);

}  // namespace tabulon
