// File names of one save, kept apart: a name that was given out already gets a number.
#pragma once

#include <string>
#include <unordered_set>

namespace tabulon {

class DistinctNames {
  public:
    // The name itself the first time; later "stem (2).csv", "stem (3).csv", ...: the first
    // number that gives a name not yet taken in this save.
    std::string take(const std::string& name);
    void reserve(std::size_t count) { taken_.reserve(taken_.size() + count); }

  private:
    std::unordered_set<std::string> taken_;
};

}  // namespace tabulon
