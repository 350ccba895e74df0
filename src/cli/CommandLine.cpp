// The command line of tabulon-cli: options and paths.
#include "cli/CommandLine.h"

#include <map>

#include "core/export/ResultStore.h"
#include "core/export/SaveOptions.h"

namespace tabulon::cli {

const char* const kUsage =
    "Usage: tabulon-cli [--mode book|sheet|row|column] [--output DIR] [--ext EXT]\n"
    "                   [--max-result-size SIZE] [--verbose] PATH...\n"
    "\n"
    "Exports each workbook to CSV files in DIR (default: the current folder), named as the\n"
    "Tabulon window's \"Save Results To CSV\" names them. A PATH that is a folder adds every\n"
    "file \"*.EXT\" of its tree (default EXT: xl*).\n"
    "\n"
    "  --mode book     one file per workbook (default)\n"
    "  --mode sheet    one file per worksheet\n"
    "  --mode row      one file per row of every worksheet\n"
    "  --mode column   one file per column of every worksheet\n"
    "  --max-result-size SIZE\n"
    "                  stop a result that would grow past SIZE bytes (suffix K, M or G for\n"
    "                  KiB, MiB, GiB; default 4G); the other results are still saved\n"
    "  --verbose       report errors with the step that failed and every later step that\n"
    "                  failed because of it\n"
    "  --help          show this text\n"
    "\n"
    "Each failure is one line on stderr: \"tabulon-cli: FILE: reason\". Results of the same\n"
    "name get \" (2)\", \" (3)\", ... before \".csv\" in the order they come.\n"
    "\n"
    "Exit status: 0 when everything was exported and saved, 1 when an error was reported or a\n"
    "result could not be saved, 2 on a usage error, 128 + the signal number when interrupted.\n";

namespace {

const std::map<std::string, const char*> kModes = {{"book", kSaveEachBookOption},
                                                   {"sheet", kSaveEachSheetOption},
                                                   {"row", kSaveEachRowOption},
                                                   {"column", kSaveEachColOption}};

// A size in bytes with an optional K, M or G suffix (powers of 1024).
std::uint64_t parseSize(const std::string& text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    const std::string suffix = text.substr(digits);
    int shift = -1;
    if (suffix.empty()) shift = 0;
    if (suffix == "K" || suffix == "k") shift = 10;
    if (suffix == "M" || suffix == "m") shift = 20;
    if (suffix == "G" || suffix == "g") shift = 30;
    if (digits == 0 || digits > 12 || shift < 0) throw UsageError{"bad size " + text};
    const std::uint64_t value = std::stoull(text.substr(0, digits)) << shift;
    if (value == 0) throw UsageError{"bad size " + text};
    return value;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    line.option = kSaveEachBookOption;
    line.maxResultSize = kDefaultResultSizeLimit;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            line.paths.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            line.help = true;
            continue;
        }
        if (argument == "--verbose") {
            line.verbose = true;
            continue;
        }
        std::string name = argument;
        std::optional<std::string> value;
        if (const auto eq = argument.find('='); eq != std::string::npos) {
            name = argument.substr(0, eq);
            value = argument.substr(eq + 1);
        }
        if (name != "--mode" && name != "--output" && name != "--ext" &&
            name != "--max-result-size") {
            throw UsageError{"unknown option " + argument};
        }
        if (!value) {
            if (i + 1 >= arguments.size()) throw UsageError{name + " needs a value"};
            value = arguments[++i];
        }
        if (name == "--mode") {
            const auto mode = kModes.find(*value);
            if (mode == kModes.end()) throw UsageError{"unknown mode " + *value};
            line.option = mode->second;
        } else if (name == "--output") {
            if (value->empty()) throw UsageError{"--output needs a folder"};
            line.outputFolder = *value;
        } else if (name == "--max-result-size") {
            line.maxResultSize = parseSize(*value);
        } else {
            if (value->empty()) throw UsageError{"--ext needs an extension"};
            line.extension = *value;
        }
    }
    if (!line.help && line.paths.empty()) throw UsageError{"no PATH given"};
    return line;
}

}  // namespace tabulon::cli
