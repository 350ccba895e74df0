// Ends tabulon-cli on SIGINT, SIGTERM and SIGHUP without leaving anything behind.
#include "cli/Interrupts.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "core/export/Leftovers.h"

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

}  // namespace

Interrupts::Interrupts(std::size_t workers) {
    const sigset_t set = interruptSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    waiter_ = std::thread([this, workers, set] {
        int signal = 0;
        while (sigwait(&set, &signal) != 0) {
        }
        if (signal == SIGUSR1) return;
        signalled_ = true;
        // The working threads stop at their next step; one busy for longer (reading a large
        // workbook) is not waited for, only silenced.
        const auto allParked = [&] { return parked_ == workers; };
        for (int waited = 0; waited < 2000 && !allParked(); ++waited) ::usleep(1000);
        if (!allParked()) {
            const int null = ::open("/dev/null", O_WRONLY);
            if (null >= 0) ::dup2(null, STDERR_FILENO);
        }
        removeLeftovers();
        ::_exit(128 + signal);
    });
}

void Interrupts::checkpoint() {
    if (!signalled_) return;
    ++parked_;
    for (;;) ::pause();
}

Interrupts::~Interrupts() {
    pthread_kill(waiter_.native_handle(), SIGUSR1);
    waiter_.join();
}

}  // namespace tabulon::cli
