// tabulon-cli: the export and saving of the Tabulon window, run from the command line.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/BatchHost.h"
#include "cli/CommandLine.h"
#include "cli/Interrupts.h"
#include "cli/SheetOptions.h"
#include "cli/StdoutResults.h"
#include "cli/Terminal.h"
#include "core/export/ExportDriver.h"
#include "core/export/ResultStore.h"
#include "core/export/SaveResults.h"
#include "core/util/FolderTree.h"
#include "core/workbook/PasswordSource.h"

namespace {

using namespace tabulon;

// The file list: workbooks as given, folders as the files of their tree.
std::vector<std::string> listFiles(const cli::CommandLine& line, cli::Terminal& terminal) {
    std::vector<std::string> files;
    for (const std::string& path : line.paths) {
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) {
            const auto tree = FolderTreeFiles(path, "*." + line.extension, terminal);
            if (tree.empty())
                std::fprintf(stderr, "tabulon-cli: %s: no matching files\n", path.c_str());
            files.insert(files.end(), tree.begin(), tree.end());
        } else {
            files.push_back(path);
        }
    }
    return files;
}

// --list: the sheets of every workbook, nothing exported.
int listSheets(const cli::CommandLine& line) {
    cli::Terminal terminal(stderr, line.verbose);
    const std::vector<std::string> files = listFiles(line, terminal);
    if (files.empty()) {
        std::fprintf(stderr, "tabulon-cli: No files added.\n");
        return 1;
    }
    SheetChoice choice(line.sheets);
    const int failed =
        cli::ListSheets(files, line.sheets.empty() ? nullptr : &choice, stdout, stderr);
    return failed + cli::ReportUnmatchedSheets(choice, stderr) == 0 ? 0 : 1;
}

int run(const cli::CommandLine& line) {
    if (line.list) return listSheets(line);
    workbook::PasswordList passwords(cli::readPasswords(line));
    const bool toStdout = line.outputFolder == "-";
    std::error_code ec;
    if (!toStdout && !std::filesystem::is_directory(line.outputFolder, ec)) {
        std::fprintf(stderr, "tabulon-cli: %s: Output folder does not exist.\n",
                     line.outputFolder.c_str());
        return 1;
    }
    ResultStore resultTexts(line.maxResultSize);
    cli::Interrupts interrupts(resultTexts.folder());
    cli::Terminal terminal(stderr, line.verbose);
    terminal.setBetweenSteps([&] { interrupts.checkpoint(); });
    cli::BatchHost host(listFiles(line, terminal), line.option, terminal);
    if (host.fileCount() == 0) {
        std::fprintf(stderr, "tabulon-cli: No files added.\n");
        return 1;
    }
    // One save over the whole run, fed one workbook at a time.
    SheetChoice choice(line.sheets);
    const LineFormat format = line.csv ? LineFormat::Csv(line.delimiter) : LineFormat::Window();
    SheetChoice* const sheetChoice = line.sheets.empty() ? nullptr : &choice;
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
        resultTexts.reset();
        ::_exit(1);
    };
    host.onWorkbookDone([&](const std::vector<ResultRow>& rows) {
        if (toStdout) {
            out.write(resultTexts, rows.size());
            endOnStdoutFailure();
        } else {
            saver.save(line.option, rows, resultTexts);
        }
        resultTexts.clear();
    });
    ExportContext context{terminal, terminal, host, resultTexts, &passwords, format, sheetChoice};
    ExportRun exportRun{context, terminal, [] { return false; }};
    RunExport(exportRun);
    if (toStdout) {
        out.finish();
        endOnStdoutFailure();
    }
    resultTexts.reset();
    terminal.finishProgress();
    if (saver.failedCount() > 0)
        std::fprintf(stderr, "tabulon-cli: %s\n", saver.endMessage().c_str());
    const int unmatched = cli::ReportUnmatchedSheets(choice, stderr);
    return terminal.errorCount() == 0 && saver.failedCount() == 0 && unmatched == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const cli::CommandLine line =
            cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (line.help) {
            std::fputs(cli::kUsage, stdout);
            return 0;
        }
        if (line.version) {
            std::fputs(cli::kVersionLine, stdout);
            return 0;
        }
        return run(line);
    } catch (const cli::UsageError& error) {
        std::fprintf(stderr, "tabulon-cli: %s\n\n%s", error.message.c_str(), cli::kUsage);
        return 2;
    }
}
