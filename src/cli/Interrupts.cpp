// Ends tabulon-cli on SIGINT, SIGTERM and SIGHUP without leaving its private folder behind.
#include "cli/Interrupts.h"

#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

namespace tabulon::cli {
namespace {

sigset_t interruptSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    sigaddset(&set, SIGUSR1);  // the destructor's word that the run is over
    return set;
}

// The export may be creating a file in the folder meanwhile, so removal is tried until the
// folder is gone.
void removeFolder(const std::string& path) {
    for (int attempt = 0; attempt < 50 && !path.empty(); ++attempt) {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
        if (!std::filesystem::exists(path, ec)) return;
    }
}

}  // namespace

Interrupts::Interrupts(const RunFolder& folder) {
    const sigset_t set = interruptSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    waiter_ = std::thread([&folder, set] {
        int signal = 0;
        while (sigwait(&set, &signal) != 0) {
        }
        if (signal == SIGUSR1) return;
        removeFolder(folder.current());
        ::_exit(128 + signal);
    });
}

Interrupts::~Interrupts() {
    pthread_kill(waiter_.native_handle(), SIGUSR1);
    waiter_.join();
}

}  // namespace tabulon::cli
