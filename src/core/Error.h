// The error type that every failing core operation throws; the error trap reports its text.
#pragma once

#include <stdexcept>
#include <string>

namespace tabulon {

class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& description) : std::runtime_error(description) {}
};

// The failure of a step that needs an object an earlier, failed step should have made.
inline constexpr const char* kNoObjectError = "Object variable or With block variable not set";

// A failure of a file operation: the system's reason and the path, shown as "reason: path".
class FileError : public Error {
  public:
    FileError(const std::string& reason, std::string path, int errorNumber = 0)
        : Error(reason + ": " + path),
          reason_(reason),
          path_(std::move(path)),
          errorNumber_(errorNumber) {}

    const std::string& reason() const { return reason_; }
    const std::string& path() const { return path_; }
    // The system's error number, 0 for a failure that is not the system's.
    int errorNumber() const { return errorNumber_; }

  private:
    std::string reason_;
    std::string path_;
    int errorNumber_;
};

// The FileError of a failed system call: the text of the error number and the path.
FileError systemFileError(int errorNumber, const std::string& path);

}  // namespace tabulon
