// Runs a program of the tests (tabulon-cli, the CSV reader) and keeps what it printed.
#pragma once

#include <QProcess>
#include <QStringList>
#include <string>

namespace tabulon::testing {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline CliRun runProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

inline CliRun runCli(const QStringList& arguments) { return runProgram(TABULON_CLI, arguments); }

}  // namespace tabulon::testing
