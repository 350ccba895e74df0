// Signals that end the program: passed to the window's thread, and the whole program ended by
// them as closing it would.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "ScratchFolder.h"
#include "app/SignalEnd.h"

namespace tabulon {
namespace {

extern "C" void keepSignal(int) {}

// Whether the process has a handler of its own for the signal.
bool catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1) != 0;
    }
    return false;
}

TEST(SignalEnd, PassesEachSignalToTheWindowThreadAndRestoresTheEarlierHandling) {
    struct sigaction earlier {};
    earlier.sa_handler = keepSignal;
    sigemptyset(&earlier.sa_mask);
    ASSERT_EQ(::sigaction(SIGHUP, &earlier, nullptr), 0);
    {
        std::vector<int> received;
        const SignalEnd end([&](int signal) { received.push_back(signal); });
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            const std::size_t before = received.size();
            ASSERT_EQ(::raise(signal), 0);
            for (int pass = 0; pass < 1000 && received.size() == before; ++pass)
                QCoreApplication::processEvents();
        }
        EXPECT_EQ(received, (std::vector<int>{SIGINT, SIGTERM, SIGHUP}));
    }
    struct sigaction now {};
    ASSERT_EQ(::sigaction(SIGHUP, nullptr, &now), 0);
    EXPECT_EQ(now.sa_handler, &keepSignal);
    std::signal(SIGHUP, SIG_DFL);
}

// The program itself, offscreen: each signal ends it with 128 + its number, and its temporary
// folder is left as it was.
TEST(SignalEnd, EndsTheProgramWith128PlusTheSignal) {
    const testing::ScratchFolder temp;
    const testing::ScratchFolder settings;
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}}) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ::setenv("TEMP", temp.path().c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", settings.path().c_str(), 1);
            ::execl(TABULON_APP, TABULON_APP, static_cast<char*>(nullptr));
            ::_exit(98);
        }
        ASSERT_GT(pid, 0);
        // A signal before the program takes it would meet the default handling, which ends the
        // process too but says nothing of the program's own.
        for (int wait = 0; wait < 3000 && !catches(pid, signal); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ::kill(pid, signal);
        int result = 0;
        ASSERT_EQ(::waitpid(pid, &result, 0), pid);
        ASSERT_TRUE(WIFEXITED(result)) << "ended by signal " << WTERMSIG(result);
        EXPECT_EQ(WEXITSTATUS(result), status);
        EXPECT_TRUE(std::filesystem::is_empty(temp.path()));
    }
}

}  // namespace
}  // namespace tabulon
