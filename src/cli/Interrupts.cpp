// Ends tabulon-cli on SIGINT, SIGTERM and SIGHUP without leaving its private folder behind.
#include "cli/Interrupts.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
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

// The export may be creating a file in the folder meanwhile. So the folder is first moved into a
// new private folder beside it, where the export does not look, and removed from there.
void removeFolder(const std::string& path) {
    if (path.empty()) return;
    const std::filesystem::path folder(path);
    std::string pattern = (folder.parent_path() / "tabulon-XXXXXX").string();
    std::error_code ec;
    if (::mkdtemp(pattern.data()) != nullptr) {
        std::filesystem::rename(folder, std::filesystem::path(pattern) / "run", ec);
        std::filesystem::remove_all(ec ? folder : std::filesystem::path(pattern), ec);
        std::filesystem::remove_all(pattern, ec);
    }
    for (int attempt = 0; attempt < 50 && std::filesystem::exists(folder, ec); ++attempt)
        std::filesystem::remove_all(folder, ec);
}

}  // namespace

Interrupts::Interrupts(std::vector<const RunFolder*> folders) {
    const sigset_t set = interruptSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    waiter_ = std::thread([this, folders = std::move(folders), set] {
        int signal = 0;
        while (sigwait(&set, &signal) != 0) {
        }
        if (signal == SIGUSR1) return;
        signalled_ = true;
        // The working threads stop at their next step; one busy for longer (reading a large
        // workbook) is not waited for, only silenced.
        const auto allParked = [&] { return parked_ == folders.size(); };
        for (int waited = 0; waited < 2000 && !allParked(); ++waited) ::usleep(1000);
        if (!allParked()) {
            const int null = ::open("/dev/null", O_WRONLY);
            if (null >= 0) ::dup2(null, STDERR_FILENO);
        }
        for (const RunFolder* folder : folders) removeFolder(folder->current());
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
