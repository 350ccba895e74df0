// Extending a collection of folders by every folder below them, level by level.
#pragma once

#include <string>
#include <vector>

#include "core/util/UnreadableFolders.h"

namespace tabulon {

class EventPass;

// Appends to the collection (each entry a folder path ending in a separator) every folder
// below its entries, each followed by a separator: first all children of the given entries,
// grouped by parent in the parents' order and each group in search order, then all
// grandchildren, and so on (deeper levels only when recurse is on). Hidden folders are neither
// added nor entered, and neither are folders whose names hold "?". A folder is entered at most
// once in a walk, so a symbolic link that leads back up the tree never makes the walk loop.
// Lets the window process its events once per folder searched, once per entry read and once
// per folder appended; any handler may run then, and it cannot disturb the walk's searches.
// A folder whose entries cannot be read is noted in unreadable (when given) and left as it is.
void CollectSubfolders(std::vector<std::string>& collection, bool recurse, EventPass& events,
                       std::vector<UnreadableFolder>* unreadable = nullptr);

}  // namespace tabulon
