// Signals that end the program: passed to the window's thread, and the whole program ended by
// them as closing it would.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <csignal>
#include <filesystem>
#include <string>

#include "ScratchFolder.h"
#include "app/SignalEnd.h"

namespace tabulon {
namespace {

extern "C" void keepSignal(int) {}

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
// folder is left as it was. The signal is sent once the program reads the folder it was started
// with, which it does after it has taken the signals: before, the default handling would end
// it too, but say nothing of the program's own.
TEST(SignalEnd, EndsTheProgramWith128PlusTheSignal) {
    const testing::ScratchFolder temp;
    const testing::ScratchFolder settings;
    const testing::ScratchFolder started;
    started.createFile("Book.xlsx");
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}}) {
        const int opened = ::inotify_init1(IN_CLOEXEC);
        ASSERT_GE(::inotify_add_watch(opened, started.path().c_str(), IN_OPEN), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ::setenv("TEMP", temp.path().c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", settings.path().c_str(), 1);
            ::execl(TABULON_APP, TABULON_APP, started.path().c_str(), static_cast<char*>(nullptr));
            ::_exit(98);
        }
        ASSERT_GT(pid, 0);
        pollfd event{opened, POLLIN, 0};
        EXPECT_EQ(::poll(&event, 1, 60000), 1);
        ::close(opened);
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
