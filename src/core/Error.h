// The error type that every failing core operation throws; the error trap reports its text.
#pragma once

#include <stdexcept>
#include <string>

namespace tabulon {

class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& description) : std::runtime_error(description) {}
};

}  // namespace tabulon
