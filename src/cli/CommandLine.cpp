// The command line of tabulon-cli: options and paths.
#include "cli/CommandLine.h"

#include <map>

#include "core/export/SaveOptions.h"

namespace tabulon::cli {

const char* const kUsage =
    "Usage: tabulon-cli [--mode book|sheet|row|column] [--output DIR] [--ext EXT] PATH...\n"
    "\n"
    "Exports each workbook to CSV files in DIR (default: the current folder), named as the\n"
    "Tabulon window's \"Save Results To CSV\" names them. A PATH that is a folder adds every\n"
    "file \"*.EXT\" of its tree (default EXT: xl*).\n"
    "\n"
    "  --mode book     one file per workbook (default)\n"
    "  --mode sheet    one file per worksheet\n"
    "  --mode row      one file per row of every worksheet\n"
    "  --mode column   one file per column of every worksheet\n"
    "  --help          show this text\n"
    "\n"
    "Exit status: 0 when everything was exported, 1 when an error was reported, 2 on a usage\n"
    "error.\n";

namespace {

const std::map<std::string, const char*> kModes = {{"book", kSaveEachBookOption},
                                                   {"sheet", kSaveEachSheetOption},
                                                   {"row", kSaveEachRowOption},
                                                   {"column", kSaveEachColOption}};

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    line.option = kSaveEachBookOption;
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
        std::string name = argument;
        std::optional<std::string> value;
        if (const auto eq = argument.find('='); eq != std::string::npos) {
            name = argument.substr(0, eq);
            value = argument.substr(eq + 1);
        }
        if (name != "--mode" && name != "--output" && name != "--ext") {
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
        } else {
            if (value->empty()) throw UsageError{"--ext needs an extension"};
            line.extension = *value;
        }
    }
    if (!line.help && line.paths.empty()) throw UsageError{"no PATH given"};
    return line;
}

}  // namespace tabulon::cli
