// tabulon-cli run as a process in a folder of its own, its stdout read through a pipe.
#pragma once

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

#include "ExportTestSupport.h"

namespace tabulon::testing {

struct CliOutput {
    int status = -1;  // the exit status, or 1000 + the signal that ended the process
    std::string out;
    std::string err;
};

class CliProcessTest : public ::testing::Test {
  protected:
    // Runs tabulon-cli in `workFolder` with TEMP set, as the user `runAs` when it is set;
    // stdout comes back through a pipe, which is closed at once when `closeStdout` is set.
    CliOutput runCli(const std::vector<std::string>& arguments, bool closeStdout = false) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) return {};
        const std::filesystem::path errors = folder.path() / "errors.txt";
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(pipeEnds[0]);
            ::dup2(pipeEnds[1], STDOUT_FILENO);
            if (std::freopen(errors.c_str(), "w", stderr) == nullptr) ::_exit(99);
            if (::chdir(workFolder.path().c_str()) != 0) ::_exit(97);
            if (runAs &&
                (::setgroups(0, nullptr) != 0 || ::setgid(*runAs) != 0 || ::setuid(*runAs) != 0))
                ::_exit(96);
            ::setenv("TEMP", temp.path().c_str(), 1);
            std::vector<char*> argv = {const_cast<char*>(TABULON_CLI)};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            ::execv(TABULON_CLI, argv.data());
            ::_exit(98);
        }
        ::close(pipeEnds[1]);
        CliOutput run;
        if (closeStdout) ::close(pipeEnds[0]);
        char buffer[65536];
        for (ssize_t got; !closeStdout && (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
            run.out.append(buffer, static_cast<std::size_t>(got));
        if (!closeStdout) ::close(pipeEnds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
        run.err = bytesOf(errors);
        return run;
    }

    ScratchFolder folder;
    ScratchFolder workFolder;
    ScratchFolder temp;
    std::optional<uid_t> runAs;
};

}  // namespace tabulon::testing
