// The folders that a folder walk could not read.
#include "core/util/UnreadableFolders.h"

#include <algorithm>

#include "core/util/PathText.h"

namespace tabulon {

void noteUnreadableFolder(std::vector<UnreadableFolder>* folders, const std::string& folder,
                          const std::error_code& error) {
    if (folders == nullptr || !error || error == std::errc::no_such_file_or_directory) return;
    std::string path = folder;
    if (path.size() > 1 && path.back() == pathSeparator()) path.pop_back();
    const bool known = std::any_of(folders->begin(), folders->end(),
                                   [&](const UnreadableFolder& f) { return f.path == path; });
    if (!known) folders->push_back({std::move(path), error.message()});
}

void noteUnsearchableFolder(std::vector<UnreadableFolder>* folders, const std::string& folder,
                            const std::error_code& entryError) {
    if (entryError == std::errc::permission_denied)
        noteUnreadableFolder(folders, folder, entryError);
}

}  // namespace tabulon
