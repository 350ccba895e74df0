// File names of one save, kept apart as the file systems that results are copied to see them:
// names that differ only in case are one name there, so a name that was given out already, in
// any case, gets a number.
#pragma once

#include <memory_resource>
#include <string>
#include <string_view>
#include <unordered_set>

namespace tabulon {

class DistinctNames {
  public:
    // The name itself the first time; later "stem (2).csv", "stem (3).csv", ...: the first
    // number that gives a name not yet taken in this save. Names are compared by their Unicode
    // simple case folding; each keeps its own spelling.
    std::string take(const std::string& name);
    void reserve(std::size_t count) { taken_.reserve(taken_.size() + count); }

  private:
    // Keeps `name` as taken when it was not; false when it was.
    bool claim(std::string_view name);

    std::string folded_;  // the name being looked up, folded
    // The folded names and the set's entries, one after another in large blocks: a save of a
    // million row results makes no two million small allocations scattered over memory.
    std::pmr::monotonic_buffer_resource arena_;
    std::pmr::unordered_set<std::string_view> taken_{&arena_};
};

}  // namespace tabulon
