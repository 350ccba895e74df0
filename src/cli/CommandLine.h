// The command line of tabulon-cli: options and paths.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tabulon::cli {

struct CommandLine {
    std::string option;  // one of the four save-option texts
    std::string outputFolder = ".";
    std::string extension = "xl*";  // for folders: the files "*." + extension of their tree
    std::vector<std::string> paths;
    std::uint64_t maxResultSize;  // bytes; a larger result is stopped and reported
    bool verbose = false;         // errors with the error trap's labels, line numbers, follow-ups
    bool help = false;
};

extern const char* const kUsage;

// The parsed command line; throws UsageError for anything it cannot take.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

struct UsageError {
    std::string message;
};

}  // namespace tabulon::cli
