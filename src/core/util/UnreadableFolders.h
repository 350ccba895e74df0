// The folders that a folder walk could not read, with the system's reason for each.
#pragma once

#include <string>
#include <system_error>
#include <vector>

namespace tabulon {

struct UnreadableFolder {
    std::string path;    // without a trailing separator
    std::string reason;  // the system's words: "Permission denied"
};

// Adds the folder (with or without its trailing separator) for the error, once per folder. An
// entry that has vanished since it was found is not unreadable: no error and "not found" add
// nothing.
void noteUnreadableFolder(std::vector<UnreadableFolder>* folders, const std::string& folder,
                          const std::error_code& error);

// Adds the folder when an entry of it could not be looked at because the folder may be listed
// but not searched (no permission to enter it). Other failures concern the entry alone (a
// dangling or looping link) and add nothing.
void noteUnsearchableFolder(std::vector<UnreadableFolder>* folders, const std::string& folder,
                            const std::error_code& entryError);

}  // namespace tabulon
