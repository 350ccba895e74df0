// The command line of tabulon-cli: one table of options, which parses the arguments and makes
// the help text.
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
    bool values = false;              // every cell as its stored value
    std::string encoding = "utf-8";   // of the written text: a name TextEncoding::named takes
    std::vector<std::string> sheets;  // --sheet: names, numbers or patterns; none for every sheet
    bool skipHidden = false;          // hidden and very hidden sheets left out
    bool list = false;                // list the sheets instead of exporting
    int jobs = 1;                     // workbooks exported at once
};

// The text of --help, made from the table of options.
std::string helpText();
// "tabulon-cli VERSION" and a line end.
extern const char* const kVersionLine;
// What follows the one line of a usage error.
extern const char* const kTryHelp;

// The parsed command line; throws UsageError for anything it cannot take.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

struct UsageError {
    std::string message;
};

// The passwords to try on every encrypted workbook: line.passwords, then the non-empty lines of
// each password file (a line's trailing CR dropped). Throws UsageError for a file it cannot read.
std::vector<std::string> readPasswords(const CommandLine& line);

}  // namespace tabulon::cli
