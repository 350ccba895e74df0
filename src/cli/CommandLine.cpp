// The command line of tabulon-cli: options and paths.
#include "cli/CommandLine.h"

#include <fstream>
#include <map>

#include "core/export/SaveOptions.h"

namespace tabulon::cli {

const char* const kUsage =
    "Usage: tabulon-cli [--mode book|sheet|row|column] [--output DIR] [--ext EXT]\n"
    "                   [--password-file FILE] [--password TEXT] PATH...\n"
    "\n"
    "Exports each workbook to CSV files in DIR (default: the current folder), named as the\n"
    "Tabulon window's \"Save Results To CSV\" names them. A PATH that is a folder adds every\n"
    "file \"*.EXT\" of its tree (default EXT: xl*).\n"
    "\n"
    "  --mode book     one file per workbook (default)\n"
    "  --mode sheet    one file per worksheet\n"
    "  --mode row      one file per row of every worksheet\n"
    "  --mode column   one file per column of every worksheet\n"
    "  --password-file FILE  passwords for encrypted workbooks, one a line, tried in order\n"
    "                  on every encrypted workbook (after the default password)\n"
    "  --password TEXT a password to try first; other users of the machine can see it in\n"
    "                  the process list, so prefer --password-file\n"
    "  --help          show this text\n"
    "\n"
    "Exit status: 0 when everything was exported, 1 when an error was reported, 2 on a usage\n"
    "error. A workbook that none of the passwords opens is reported as \"The password is\n"
    "incorrect\" and nothing is saved for it; no password is ever asked for.\n";

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
        if (name != "--mode" && name != "--output" && name != "--ext" && name != "--password" &&
            name != "--password-file") {
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
        } else if (name == "--password") {
            line.passwords.push_back(*value);
        } else if (name == "--password-file") {
            if (value->empty()) throw UsageError{"--password-file needs a file"};
            line.passwordFiles.push_back(*value);
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

std::vector<std::string> readPasswords(const CommandLine& line) {
    std::vector<std::string> passwords = line.passwords;
    for (const std::string& file : line.passwordFiles) {
        std::ifstream in(file, std::ios::binary);
        if (!in) throw UsageError{"cannot read the password file " + file};
        std::string text;
        while (std::getline(in, text)) {
            if (!text.empty() && text.back() == '\r') text.pop_back();
            if (!text.empty()) passwords.push_back(text);
        }
        if (in.bad()) throw UsageError{"cannot read the password file " + file};
    }
    return passwords;
}

}  // namespace tabulon::cli
