// The command line of tabulon-cli: one table of options (CLI11) for parsing and for the help.
#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <fstream>
#include <map>
#include <memory>

#include "core/export/ResultStore.h"
#include "core/export/SaveOptions.h"
#include "core/export/TextEncoding.h"

namespace tabulon::cli {

const char* const kVersionLine = "tabulon-cli " TABULON_VERSION "\n";
const char* const kTryHelp = "Try 'tabulon-cli --help' for more information.\n";

namespace {

const char* const kUsageLines =
    "Usage: tabulon-cli [OPTION]... PATH...\n"
    "       tabulon-cli --list [--sheet PATTERN]... [--skip-hidden] [--password-file FILE]\n"
    "                          [--password TEXT] PATH...\n";

const char* const kDescription =
    "Exports each workbook to CSV files in DIR (default: the current folder), named as the\n"
    "Tabulon window's \"Save Results To CSV\" names them. A PATH that is a folder adds every\n"
    "file \"*.EXT\" of its tree (default EXT: xl*). Without --csv the files are as the window\n"
    "writes them: \", \" after every cell, nothing quoted; without --values each cell as the\n"
    "spreadsheet shows it (\"7,897.00\", \"3/15/23\").";

const char* const kFooter =
    "Each failure is one line on stderr: \"tabulon-cli: FILE: reason\". Results of the same\n"
    "name get \" (2)\", \" (3)\", ... before \".csv\" in the order they come. A workbook that\n"
    "none of the passwords opens is reported as \"The password is incorrect\" and nothing is\n"
    "saved for it; no password is ever asked for.\n"
    "\n"
    "Exit status: 0 when everything was exported and saved, 1 when an error was reported, a\n"
    "result could not be saved or a --sheet entry chose no sheet, 2 on a usage error, 128 +\n"
    "the signal number when interrupted.\n";

const std::map<std::string, const char*> kModes = {{"book", kSaveEachBookOption},
                                                   {"sheet", kSaveEachSheetOption},
                                                   {"row", kSaveEachRowOption},
                                                   {"column", kSaveEachColOption}};

// The option names in the help as "-j, --jobs", the value after them, and the whole help in
// the order usage, description, options, footer.
class HelpFormat : public CLI::Formatter {
  public:
    HelpFormat() { column_width(24); }
    std::string make_option_name(const CLI::Option* opt, bool positional) const override {
        std::string names = CLI::Formatter::make_option_name(opt, positional);
        for (std::size_t at = names.find(','); at != std::string::npos; at = names.find(',', at))
            names.insert(++at, " ");
        return names;
    }
    std::string make_help(const CLI::App* app, std::string,
                          CLI::AppFormatMode mode) const override {
        return std::string(kUsageLines) + "\n" + app->get_description() + "\n" +
               make_groups(app, mode) + "\n" + app->get_footer();
    }
};

// What the options hold before they are checked.
struct RawValues {
    std::string mode = "book";
    std::optional<std::string> delimiter;
    std::optional<std::string> maxResultSize;
    std::optional<std::string> jobs;
};

// The table of options: names, values, help texts, and where each value goes.
std::unique_ptr<CLI::App> optionTable(CommandLine& line, RawValues& raw) {
    auto app = std::make_unique<CLI::App>("", "tabulon-cli");
    app->formatter(std::make_shared<HelpFormat>());
    app->set_help_flag();
    app->description(kDescription);
    app->footer(kFooter);
    const auto last = CLI::MultiOptionPolicy::TakeLast;

    app->add_option("--output", line.outputFolder,
                    "write the files into DIR, which is made (with its parents)\n"
                    "when missing; \"-\" writes the results to standard output\n"
                    "instead, one after another in the order they would be saved,\n"
                    "each exactly as its file would hold it (a folder named \"-\"\n"
                    "is given as ./-)")
        ->option_text("DIR")
        ->multi_option_policy(last);
    app->add_option("--mode", raw.mode,
                    "book: one file per workbook (default); sheet: per worksheet;\n"
                    "row: per row of every worksheet; column: per column")
        ->option_text("MODE")
        ->multi_option_policy(last);
    app->add_option("--ext", line.extension, "for a folder PATH, the files \"*.EXT\" of its tree")
        ->option_text("EXT")
        ->multi_option_policy(last);
    CLI::Option* csv = app->add_flag("--csv", line.csv,
                                     "standard CSV: cells separated by the delimiter, none after\n"
                                     "the last cell, a cell holding the delimiter, a quote or a\n"
                                     "line break in quotes (its quotes doubled), every row of a\n"
                                     "file as wide as the widest");
    app->add_option("--delimiter", raw.delimiter,
                    "the delimiter of --csv (default \",\"; \"\\t\" for a tab)")
        ->option_text("CHAR")
        ->multi_option_policy(last)
        ->needs(csv);
    app->add_flag("--values", line.values,
                  "every cell as its stored value instead of its displayed text:\n"
                  "numbers in the fewest digits that read back the same (1234.5,\n"
                  "12345678901234, 1e+21), dates and times in ISO 8601\n"
                  "(2023-03-15, 13:45:30, 2024-02-29T13:45:30), TRUE and FALSE,\n"
                  "error values and text as they are");
    app->add_option("--encoding", line.encoding,
                    "write the text in NAME: utf-8 (default), utf-8-bom, utf-16\n"
                    "(little-endian with a byte-order mark) or a code page that\n"
                    "iconv knows (windows-1252, iso-8859-15, cp437, ...); a cell\n"
                    "with a character that NAME cannot hold is an error and its\n"
                    "result is not saved")
        ->option_text("NAME")
        ->multi_option_policy(last);
    app->add_option("--sheet", line.sheets,
                    "export only the sheets that PATTERN chooses (repeatable): the\n"
                    "sheet of that exact name; else for a number N the Nth\n"
                    "worksheet; else every sheet whose name matches the shell\n"
                    "pattern (*, ?, [...]). An entry that chooses no sheet of any\n"
                    "workbook is an error, reported after the run")
        ->option_text("PATTERN")
        ->allow_extra_args(false);
    app->add_flag("--skip-hidden", line.skipHidden, "leave out hidden and very hidden sheets");
    app->add_flag("--list", line.list,
                  "print each sheet as FILE, NAME, KIND, VISIBILITY, USED RANGE\n"
                  "(tab-separated), export nothing");
    app->add_option("--password-file", line.passwordFiles,
                    "passwords for encrypted workbooks, one a line, tried in order\n"
                    "on every encrypted workbook (after the default password)")
        ->option_text("FILE")
        ->allow_extra_args(false);
    app->add_option("--password", line.passwords,
                    "a password to try first; other users of the machine can see it\n"
                    "in the process list, so prefer --password-file")
        ->option_text("TEXT")
        ->allow_extra_args(false);
    app->add_option("--max-result-size", raw.maxResultSize,
                    "stop a result that would grow past SIZE bytes (suffix K, M or G\n"
                    "for KiB, MiB, GiB; default 4G); the other results are still\n"
                    "saved")
        ->option_text("SIZE")
        ->multi_option_policy(last);
    app->add_option("-j,--jobs", raw.jobs,
                    "export N workbooks at once (default 1); the files, their names\n"
                    "and bytes and the messages, in their order, are those of one\n"
                    "at a time")
        ->option_text("N")
        ->multi_option_policy(last);
    app->add_flag("--verbose", line.verbose,
                  "report errors with the step that failed and every later step\n"
                  "that failed because of it");
    app->add_flag("--version", line.version, "show the version");
    app->add_flag("-h,--help", line.help, "show this text");
    app->add_option("PATH", line.paths, "workbooks and folders")->option_text("PATH...");
    for (CLI::Option* option : app->get_options()) {
        // A flag given twice is given; a message names a value as the help does.
        if (option->get_expected_max() == 0) option->multi_option_policy(last);
        if (!option->get_option_text().empty()) option->type_name(option->get_option_text());
    }
    return app;
}

// The delimiter of --csv: one ASCII character, "\t" for a tab; never a quote or a line break.
char parseDelimiter(const std::string& text) {
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

// An option's value is the argument after it even when that begins with a dash, as getopt
// takes it ("--sheet -1-", "--password -x"): each such pair is joined as "--name=value".
std::vector<std::string> joinValues(const CLI::App& app,
                                    const std::vector<std::string>& arguments) {
    std::vector<std::string> joined;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            joined.insert(joined.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i),
                          arguments.end());
            break;
        }
        const CLI::Option* option =
            argument.starts_with("-") ? app.get_option_no_throw(argument) : nullptr;
        if (option != nullptr && option->get_items_expected_min() > 0 && i + 1 < arguments.size()) {
            joined.push_back("--" + option->get_lnames().front() + "=" + arguments[++i]);
        } else {
            joined.push_back(argument);
        }
    }
    return joined;
}

}  // namespace

std::string helpText() {
    CommandLine line;
    RawValues raw;
    return optionTable(line, raw)->help();
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    line.maxResultSize = kDefaultResultSizeLimit;
    RawValues raw;
    const std::unique_ptr<CLI::App> app = optionTable(line, raw);
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed = joinValues(*app, arguments);
    std::reverse(reversed.begin(), reversed.end());
    try {
        app->parse(reversed);
    } catch (const CLI::ParseError& e) {
        throw UsageError{e.what()};
    }
    if (line.help || line.version) return line;
    const auto mode = kModes.find(raw.mode);
    if (mode == kModes.end()) throw UsageError{"unknown mode " + raw.mode};
    line.option = mode->second;
    if (line.outputFolder.empty()) throw UsageError{"--output needs a folder"};
    if (line.extension.empty()) throw UsageError{"--ext needs an extension"};
    for (const std::string& sheet : line.sheets)
        if (sheet.empty()) throw UsageError{"--sheet needs a name, number or pattern"};
    for (const std::string& file : line.passwordFiles)
        if (file.empty()) throw UsageError{"--password-file needs a file"};
    if (raw.delimiter) line.delimiter = parseDelimiter(*raw.delimiter);
    if (raw.maxResultSize) line.maxResultSize = parseSize(*raw.maxResultSize);
    if (raw.jobs) line.jobs = parseJobs(*raw.jobs);
    if (!TextEncoding::named(line.encoding)) throw UsageError{"unknown encoding " + line.encoding};
    if (line.paths.empty()) throw UsageError{"no PATH given"};
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
