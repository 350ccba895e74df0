// File names of one save, kept apart as the file systems that results are copied to see them:
// names that differ only in case are one name there, so a name that was given out already, in
// any case, gets a number.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

class DistinctNames {
  public:
    // The name itself the first time; later "stem (2).csv", "stem (3).csv", ...: the first
    // number that gives a name not yet taken in this save. Names are compared by their Unicode
    // simple case folding; each keeps its own spelling.
    std::string take(const std::string& name);
    // Makes room for `count` more names at once.
    void reserve(std::size_t count);

  private:
    // Keeps `name` as taken when it was not; false when it was.
    bool claim(std::string_view name);
    std::string_view kept(std::uint32_t place) const;
    std::uint32_t keep(std::string_view folded);
    std::size_t slotOf(std::string_view folded) const;

    std::string folded_;  // the name being looked up, folded
    // The folded names one after another, each behind its length, in blocks of 1 MiB: a save of
    // a million row results makes no million small allocations.
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockUsed_ = 0;
    // An open-addressing table of the names' places in the blocks (plus one; 0 is free), at
    // most half full: a few bytes a name.
    std::vector<std::uint32_t> slots_;
    std::size_t count_ = 0;
};

}  // namespace tabulon
