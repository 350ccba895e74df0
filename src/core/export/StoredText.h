// One result's text, kept in a file of the run's private folder rather than in memory.
#pragma once

#include <cstdint>
#include <string>

namespace tabulon {

struct StoredText {
    std::string path;
    std::uint64_t size = 0;

    // The whole text; throws FileError when the file cannot be read.
    std::string read() const;
};

}  // namespace tabulon
