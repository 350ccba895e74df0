// The command line of tabulon-cli: options and paths.
#include "cli/CommandLine.h"

#include <fstream>
#include <map>

#include "core/export/ResultStore.h"
#include "core/export/SaveOptions.h"

namespace tabulon::cli {

const char* const kUsage =
    "Usage: tabulon-cli [--mode book|sheet|row|column] [--output DIR] [--ext EXT]\n"
    "                   [--csv [--delimiter CHAR]] [--sheet NAME]...\n"
    "                   [--password-file FILE] [--password TEXT] \n"
    "                   [--max-result-size SIZE] [--jobs N] [--verbose] PATH...\n"
    "       tabulon-cli --list [--sheet NAME]... [--password-file FILE] [--password TEXT]\n"
    "                   PATH...\n"
    "\n"
    "Exports each workbook to CSV files in DIR (default: the current folder), named as the\n"
    "Tabulon window's \"Save Results To CSV\" names them. A PATH that is a folder adds every\n"
    "file \"*.EXT\" of its tree (default EXT: xl*).\n"
    "\n"
    "  --output -      write the results to standard output instead, one after another in\n"
    "                  the order they would be saved, each exactly as its file would hold\n"
    "                  it; no file is written (a folder named \"-\" is given as ./-)\n"
    "  --mode book     one file per workbook (default)\n"
    "  --mode sheet    one file per worksheet\n"
    "  --mode row      one file per row of every worksheet\n"
    "  --mode column   one file per column of every worksheet\n"
    "  --csv           standard CSV: cells separated by the delimiter, none after the last\n"
    "                  cell, a cell holding the delimiter, a quote or a line break in quotes\n"
    "                  (its quotes doubled), every row of a file as wide as the widest\n"
    "  --delimiter CHAR\n"
    "                  the delimiter of --csv (default \",\"; \"\\t\" for a tab)\n"
    "  --sheet NAME    export only this sheet (repeatable); a number N that names no sheet\n"
    "                  picks the Nth worksheet. A NAME that no workbook has is an error,\n"
    "                  reported after the run\n"
    "  --list          print each sheet as FILE, NAME, KIND, VISIBILITY, USED RANGE\n"
    "                  (tab-separated), export nothing\n"
    "  --password-file FILE  passwords for encrypted workbooks, one a line, tried in order\n"
    "                  on every encrypted workbook (after the default password)\n"
    "  --password TEXT a password to try first; other users of the machine can see it in\n"
    "                  the process list, so prefer --password-file\n"
    "  --max-result-size SIZE\n"
    "                  stop a result that would grow past SIZE bytes (suffix K, M or G for\n"
    "                  KiB, MiB, GiB; default 4G); the other results are still saved\n"
    "  -j, --jobs N    export N workbooks at once (default 1); the files, their names and\n"
    "                  bytes and the messages, in their order, are those of one at a time\n"
    "  --verbose       report errors with the step that failed and every later step that\n"
    "                  failed because of it\n"
    "  --version       show the version\n"
    "  --help          show this text\n"
    "\n"
    "Without --csv the files are as the window writes them: \", \" after every cell,\n"
    "nothing quoted.\n"
    "\n"
    "Each failure is one line on stderr: \"tabulon-cli: FILE: reason\". Results of the same\n"
    "name get \" (2)\", \" (3)\", ... before \".csv\" in the order they come. A workbook that\n"
    "none of the passwords opens is reported as \"The password is incorrect\" and nothing is\n"
    "saved for it; no password is ever asked for.\n"
    "\n"
    "Exit status: 0 when everything was exported and saved, 1 when an error was reported, a\n"
    "result could not be saved or a --sheet NAME was found in no workbook, 2 on a usage\n"
    "error, 128 + the signal number when interrupted.\n";

namespace {

const std::map<std::string, const char*> kModes = {{"book", kSaveEachBookOption},
                                                   {"sheet", kSaveEachSheetOption},
                                                   {"row", kSaveEachRowOption},
                                                   {"column", kSaveEachColOption}};

// The options without a value.
const std::map<std::string, bool CommandLine::*> kFlags = {
    {"--help", &CommandLine::help},       {"-h", &CommandLine::help},
    {"--version", &CommandLine::version}, {"--csv", &CommandLine::csv},
    {"--list", &CommandLine::list},       {"--verbose", &CommandLine::verbose}};

// The delimiter of --csv: one ASCII character, "\t" for a tab; never a quote or a line break.
char parseDelimiter(const std::string& text, bool csv) {
    if (!csv) throw UsageError{"--delimiter needs --csv"};
    if (text == "\\t") return '\t';
    if (text.size() != 1 || static_cast<unsigned char>(text[0]) >= 0x80)
        throw UsageError{"--delimiter needs one ASCII character"};
    if (text == "\"" || text == "\r" || text == "\n")
        throw UsageError{"--delimiter cannot be a quote or a line break"};
    return text[0];
}

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

// The count of -j: a whole number from 1 to 256.
int parseJobs(const std::string& text) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        throw UsageError{"bad job count " + text};
    const int jobs = std::stoi(text);
    if (jobs < 1 || jobs > 256) throw UsageError{"bad job count " + text};
    return jobs;
}

}  // namespace

const char* const kVersionLine = "tabulon-cli " TABULON_VERSION "\n";

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    line.option = kSaveEachBookOption;
    line.maxResultSize = kDefaultResultSizeLimit;
    bool optionsEnded = false;
    std::optional<std::string> delimiter;
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
        if (const auto flag = kFlags.find(argument); flag != kFlags.end()) {
            line.*(flag->second) = true;
            continue;
        }
        std::string name = argument == "-j" ? "--jobs" : argument;
        std::optional<std::string> value;
        if (const auto eq = argument.find('='); eq != std::string::npos) {
            name = argument.substr(0, eq);
            value = argument.substr(eq + 1);
        }
        if (name != "--mode" && name != "--output" && name != "--ext" && name != "--delimiter" &&
            name != "--sheet" && name != "--password" && name != "--password-file" &&
            name != "--max-result-size" && name != "--jobs") {
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
        } else if (name == "--delimiter") {
            delimiter = *value;
        } else if (name == "--sheet") {
            if (value->empty()) throw UsageError{"--sheet needs a name or number"};
            line.sheets.push_back(*value);
        } else if (name == "--password") {
            line.passwords.push_back(*value);
        } else if (name == "--password-file") {
            if (value->empty()) throw UsageError{"--password-file needs a file"};
            line.passwordFiles.push_back(*value);
        } else if (name == "--output") {
            if (value->empty()) throw UsageError{"--output needs a folder"};
            line.outputFolder = *value;
        } else if (name == "--jobs") {
            line.jobs = parseJobs(*value);
        } else if (name == "--max-result-size") {
            line.maxResultSize = parseSize(*value);
        } else {
            if (value->empty()) throw UsageError{"--ext needs an extension"};
            line.extension = *value;
        }
    }
    if (delimiter) line.delimiter = parseDelimiter(*delimiter, line.csv);
    if (!line.help && !line.version && line.paths.empty()) throw UsageError{"no PATH given"};
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
