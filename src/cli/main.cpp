// tabulon-cli: the export and saving of the Tabulon window, run from the command line.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/BatchHost.h"
#include "cli/CommandLine.h"
#include "cli/Interrupts.h"
#include "cli/ParallelExport.h"
#include "cli/PathArguments.h"
#include "cli/SheetOptions.h"
#include "cli/StdoutResults.h"
#include "cli/Terminal.h"
#include "core/export/ExportDriver.h"
#include "core/export/Leftovers.h"
#include "core/export/ResultStore.h"
#include "core/export/SaveResults.h"
#include "core/export/TextEncoding.h"
#include "core/workbook/PasswordSource.h"

namespace {

using namespace tabulon;

// The file list: workbooks as given, folders as the files of their tree.
std::vector<std::string> listFiles(const cli::CommandLine& line, cli::Terminal& terminal) {
    return cli::workbookPaths(line.paths, line.extension, terminal);
}

// The choice of sheets, when the command line makes one.
SheetChoice* chosenSheets(const cli::CommandLine& line, SheetChoice& choice) {
    return line.sheets.empty() && !line.skipHidden ? nullptr : &choice;
}

// The output folder, made with its parents when missing. Throws UsageError for a path that is
// something else than a folder; false (with the reason on stderr) when it cannot be made.
bool makeOutputFolder(const std::string& folder) {
    std::error_code ec;
    if (std::filesystem::exists(folder, ec) && !std::filesystem::is_directory(folder, ec))
        throw cli::UsageError{"--output " + folder + " is not a folder"};
    if (std::filesystem::create_directories(folder, ec) || !ec) return true;
    cli::writeMessage(stderr, folder + ": cannot make the output folder: " + ec.message());
    return false;
}

// --list: the sheets of every workbook, nothing exported; encrypted ones opened as an export
// opens them.
int listSheets(const cli::CommandLine& line) {
    workbook::PasswordList passwords(cli::readPasswords(line));
    cli::Terminal terminal(stderr, line.verbose);
    const std::vector<std::string> files = listFiles(line, terminal);
    if (files.empty()) {
        std::fprintf(stderr, "tabulon-cli: No files added.\n");
        return 1;
    }
    SheetChoice choice(line.sheets, line.skipHidden);
    const int failed =
        cli::listSheets(files, chosenSheets(line, choice), &passwords, stdout, stderr);
    const int unmatched = cli::reportUnmatchedSheets(choice, stderr);
    return failed + unmatched + terminal.errorCount() == 0 ? 0 : 1;
}

int run(const cli::CommandLine& line) {
    if (line.list) return listSheets(line);
    const std::vector<std::string> passwordTexts = cli::readPasswords(line);
    const bool toStdout = line.outputFolder == "-";
    if (!toStdout && !makeOutputFolder(line.outputFolder)) return 1;
    // One store per working thread, all in the run's one private folder; a run of one workbook
    // at a time uses the first.
    const auto runFolder = std::make_shared<RunFolder>();
    std::vector<std::unique_ptr<ResultStore>> stores;
    for (int job = 0; job < line.jobs; ++job)
        stores.push_back(std::make_unique<ResultStore>(runFolder, line.maxResultSize));
    ResultStore& resultTexts = *stores.front();
    cli::Interrupts interrupts(static_cast<std::size_t>(line.jobs));
    cli::Terminal terminal(stderr, line.verbose);
    terminal.setBetweenSteps([&] { interrupts.checkpoint(); });
    const std::vector<std::string> files = listFiles(line, terminal);
    if (files.empty()) {
        std::fprintf(stderr, "tabulon-cli: No files added.\n");
        return 1;
    }
    // One save over the whole run, fed one workbook at a time.
    SheetChoice choice(line.sheets, line.skipHidden);
    LineFormat format = line.csv ? LineFormat::csv(line.delimiter) : LineFormat::window();
    format.setEncoding(*TextEncoding::named(line.encoding));
    format.setStoredValues(line.values);
    SheetChoice* const sheetChoice = chosenSheets(line, choice);
    ResultSaver saver(line.outputFolder, terminal, format.textEnd());
    saver.beforeEachFile = [&] { interrupts.checkpoint(); };
    // A closed pipe on stdout is a failed write, not a signal that ends the process.
    if (toStdout) std::signal(SIGPIPE, SIG_IGN);
    cli::StdoutResults out(terminal, format.textEnd());
    out.beforeEachResult = [&] { interrupts.checkpoint(); };
    // Nothing more can be delivered once stdout fails: the run ends at once.
    const auto endOnStdoutFailure = [&] {
        if (out.failure().empty()) return;
        terminal.finishProgress();
        std::fprintf(stderr, "tabulon-cli: %s\n", out.failure().c_str());
        removeLeftovers();
        ::_exit(1);
    };
    // False once stdout has failed.
    const auto saveWorkbook = [&](const ResultStore& results) {
        if (!toStdout) {
            saver.save(line.option, results);
            return true;
        }
        out.write(results);
        return out.failure().empty();
    };
    int exportErrors = 0;
    if (line.jobs == 1) {
        workbook::PasswordList passwords(passwordTexts);
        cli::BatchHost host(files, line.option, terminal);
        host.onWorkbookDone([&] {
            if (!saveWorkbook(resultTexts)) endOnStdoutFailure();
            resultTexts.clear();
        });
        ExportContext context{terminal,   terminal, host,       resultTexts,
                              &passwords, format,   sheetChoice};
        ExportRun exportRun{context, terminal, [] { return false; }};
        runExport(exportRun);
    } else {
        cli::ParallelRun parallel{
            files,
            &stores,
            [&](const std::string& file, cli::Terminal& own, ResultStore& texts) {
                own.setBetweenSteps([&] { interrupts.checkpoint(); });
                workbook::PasswordList passwords(passwordTexts);
                cli::BatchHost host({file}, line.option, own);
                ExportContext context{own, own, host, texts, &passwords, format, sheetChoice};
                ExportRun exportRun{context, own, [] { return false; }};
                runExport(exportRun);
            },
            &terminal,
            saveWorkbook,
            line.verbose};
        exportErrors = cli::exportInParallel(parallel);
    }
    if (toStdout) {
        out.finish();
        endOnStdoutFailure();
    }
    stores.clear();
    saver.flush();
    terminal.finishProgress();
    if (saver.failedCount() > 0)
        std::fprintf(stderr, "tabulon-cli: %s\n", saver.endMessage().c_str());
    const int unmatched = cli::reportUnmatchedSheets(choice, stderr);
    return terminal.errorCount() + exportErrors == 0 && saver.failedCount() == 0 && unmatched == 0
               ? 0
               : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const cli::CommandLine line =
            cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (line.help) {
            std::fputs(cli::helpText().c_str(), stdout);
            return 0;
        }
        if (line.version) {
            std::fputs(cli::kVersionLine, stdout);
            return 0;
        }
        return run(line);
    } catch (const cli::UsageError& error) {
        cli::writeMessage(stderr, error.message);
        std::fputs(cli::kTryHelp, stderr);
        return 2;
    }
}
