// One result's text, kept in a file of the run's private folder rather than in memory: a file
// of its own, or a stretch of the file that gathers the run's small results.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tabulon {

struct StoredText {
    // The file's path, shared by every text of that file: a run of a million row results keeps
    // one copy of the gathering file's path, not a million.
    std::shared_ptr<const std::string> file;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;  // where the text starts in the file

    const std::string& path() const { return *file; }

    // The whole text; throws FileError when the file cannot be read.
    std::string read() const;
};

}  // namespace tabulon
