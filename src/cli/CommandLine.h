// The command line of tabulon-cli: options and paths.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tabulon::cli {

struct CommandLine {
    std::string option;              // one of the four save-option texts
    std::string outputFolder = ".";  // "-" for standard output
    std::string extension = "xl*";   // for folders: the files "*." + extension of their tree
    std::vector<std::string> paths;
    // Passwords for encrypted workbooks: those given with --password, then the files of
    // --password-file (one password a line), in the order given.
    std::vector<std::string> passwords;
    std::vector<std::string> passwordFiles;
    std::uint64_t maxResultSize;  // bytes; a larger result is stopped and reported
    bool verbose = false;         // errors with the error trap's labels, line numbers, follow-ups
    bool help = false;
    bool version = false;
    bool csv = false;                 // standard CSV instead of the window's format
    char delimiter = ',';             // of --csv
    std::vector<std::string> sheets;  // --sheet: names or 1-based numbers; none for every sheet
    bool list = false;                // list the sheets instead of exporting
    int jobs = 1;                     // workbooks exported at once
};

extern const char* const kUsage;
// "tabulon-cli VERSION" and a line end.
extern const char* const kVersionLine;

// The parsed command line; throws UsageError for anything it cannot take.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

struct UsageError {
    std::string message;
};

// The passwords to try on every encrypted workbook: line.passwords, then the non-empty lines of
// each password file (a line's trailing CR dropped). Throws UsageError for a file it cannot read.
std::vector<std::string> readPasswords(const CommandLine& line);

}  // namespace tabulon::cli
