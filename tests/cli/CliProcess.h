// Programs of the tests (tabulon-cli, Python) run as child processes: stdout on a pipe, stderr in
// an unnamed file, optionally in a folder of their own, with TEMP set and as another user.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <utility>

#include "ExportTestSupport.h"

namespace tabulon::testing {

struct CliOutput {
    int status = -1;  // the exit status, or 1000 + the signal that ended the process
    std::string out;
    std::string err;
};

struct ProcessSetup {
    std::filesystem::path workFolder = {};  // the current folder, when set
    std::filesystem::path temp = {};        // TEMP, when set
    std::optional<uid_t> runAs = {};
    // stderr joins stdout on a pipe of one page, which finish() reads only once the program has
    // ended: a program that writes more waits there for good, so that it is certainly still
    // running when, for example, a signal is sent, and cannot run on to its end afterwards.
    bool heldAtPipe = false;
};

// A started program; finish() reads its stdout to the end and waits for it.
class ChildProcess {
  public:
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const ProcessSetup& setup = {}) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0 || errors_ == nullptr) return;
        held_ = setup.heldAtPipe;
        if (held_) ::fcntl(ends[0], F_SETPIPE_SZ, 4096);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(ends[1], STDOUT_FILENO);
            ::dup2(setup.heldAtPipe ? ends[1] : ::fileno(errors_), STDERR_FILENO);
            if (!setup.workFolder.empty() && ::chdir(setup.workFolder.c_str()) != 0) ::_exit(97);
            if (setup.runAs && (::setgroups(0, nullptr) != 0 || ::setgid(*setup.runAs) != 0 ||
                                ::setuid(*setup.runAs) != 0))
                ::_exit(96);
            if (!setup.temp.empty()) ::setenv("TEMP", setup.temp.c_str(), 1);
            std::vector<char*> argv = {const_cast<char*>(program.c_str())};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(98);
        }
        ::close(ends[1]);
        out_ = ends[0];
    }
    ~ChildProcess() {
        if (pid_ > 0) finish(true);
        if (errors_ != nullptr) std::fclose(errors_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    // Waits for the program's first bytes on the pipe and returns them.
    std::string firstOutput() {
        char buffer[4096];
        const ssize_t got = ::read(out_, buffer, sizeof buffer);
        return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
    }

    CliOutput finish(bool closeStdout = false) {
        CliOutput run;
        int status = 0;
        const auto wait = [&] {
            if (pid_ > 0) ::waitpid(std::exchange(pid_, -1), &status, 0);
        };
        if (held_ && !closeStdout) wait();
        if (closeStdout && out_ >= 0) ::close(std::exchange(out_, -1));
        char buffer[65536];
        for (ssize_t got; out_ >= 0 && (got = ::read(out_, buffer, sizeof buffer)) > 0;)
            run.out.append(buffer, static_cast<std::size_t>(got));
        if (out_ >= 0) ::close(std::exchange(out_, -1));
        wait();
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
        std::rewind(errors_);
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, errors_)) > 0;)
            run.err.append(buffer, got);
        return run;
    }

  private:
    std::FILE* errors_ = std::tmpfile();
    pid_t pid_ = -1;
    int out_ = -1;
    bool held_ = false;
};

inline CliOutput runProgram(const std::string& program, const std::vector<std::string>& arguments,
                            const ProcessSetup& setup = {}, bool closeStdout = false) {
    return ChildProcess(program, arguments, setup).finish(closeStdout);
}

// tabulon-cli run in a work folder of its own with a TEMP of its own.
class CliProcessTest : public ::testing::Test {
  protected:
    ProcessSetup setup() const { return {workFolder.path(), temp.path(), runAs}; }
    // With `closeStdout` the pipe is closed at once.
    CliOutput runCli(const std::vector<std::string>& arguments, bool closeStdout = false) {
        return runProgram(TABULON_CLI, arguments, setup(), closeStdout);
    }

    ScratchFolder folder;
    ScratchFolder workFolder;
    ScratchFolder temp;
    std::optional<uid_t> runAs;
};

}  // namespace tabulon::testing
