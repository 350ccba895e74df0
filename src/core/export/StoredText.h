// One result's text, kept in a file of the run's private folder rather than in memory: a file
// of its own, or a stretch of the file that gathers the run's small results.
#pragma once

#include <cstdint>
#include <string>

namespace tabulon {

struct StoredText {
    std::string path;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;  // where the text starts in the file

    // The whole text; throws FileError when the file cannot be read.
    std::string read() const;
};

}  // namespace tabulon
