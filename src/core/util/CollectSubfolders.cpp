// Extending a collection of folders by every folder below them, level by level.
#include "core/util/CollectSubfolders.h"

#include <filesystem>
#include <system_error>
#include <unordered_set>

#include "core/util/DirectorySearch.h"
#include "core/util/EventPass.h"
#include "core/util/FileAttributes.h"
#include "core/util/PathText.h"

namespace fs = std::filesystem;

namespace tabulon {
namespace {

// The folders entered so far, by their real location with every link resolved.
class EnteredFolders {
  public:
    // False when the folder was entered before (reached again through a link).
    bool enter(const std::string& folder) {
        std::error_code error;
        const fs::path real = fs::canonical(fs::path(folder), error);
        return entered_.insert(error ? folder : real.string()).second;
    }

  private:
    std::unordered_set<std::string> entered_;
};

void collectLevel(std::vector<std::string>& collection, bool recurse, EventPass& events,
                  EnteredFolders& entered, std::vector<UnreadableFolder>* unreadable) {
    std::vector<std::string> level;
    for (const std::string& parent : collection) {
        DirectorySearch search(parent, kAttrDirectory);
        noteUnreadableFolder(unreadable, parent, search.error());
        events.processEvents();
        for (std::string name = search.next(); !name.empty(); name = search.next()) {
            events.processEvents();
            if (name.find('?') != std::string::npos) continue;
            const std::string path = joinPath(parent, name);
            std::error_code error;
            const int attributes = fileAttributesOf(path, error);
            if (attributes == kInvalidAttributes) noteUnsearchableFolder(unreadable, parent, error);
            if (attributes == kInvalidAttributes || (attributes & kAttrDirectory) == 0) continue;
            if (entered.enter(path)) level.push_back(path + pathSeparator());
        }
    }
    if (!level.empty() && recurse) collectLevel(level, recurse, events, entered, unreadable);
    for (std::string& folder : level) {
        events.processEvents();
        collection.push_back(std::move(folder));
    }
}

}  // namespace

void CollectSubfolders(std::vector<std::string>& collection, bool recurse, EventPass& events,
                       std::vector<UnreadableFolder>* unreadable) {
    EnteredFolders entered;
    for (const std::string& folder : collection) entered.enter(folder);
    collectLevel(collection, recurse, events, entered, unreadable);
}

}  // namespace tabulon
