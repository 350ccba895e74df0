// Ends tabulon-cli on SIGINT, SIGTERM and SIGHUP without leaving its private folder or a file
// that a save was writing behind.
#pragma once

#include <atomic>
#include <thread>

namespace tabulon::cli {

class Interrupts {
  public:
    // Blocks the three signals in the calling thread and in every thread it starts later, so it
    // must be made before any other thread; a thread of its own then waits for them. On a
    // signal it lets the `workers` working threads stop, removes the run's folder and the file a
    // save is writing, and ends the process with 128 + the signal's number (130, 143, 129).
    explicit Interrupts(std::size_t workers);
    ~Interrupts();
    Interrupts(const Interrupts&) = delete;
    Interrupts& operator=(const Interrupts&) = delete;

    // Called by each working thread between steps: after a signal it stops here for good, so
    // that it creates no file while the folder is removed and prints nothing more.
    void checkpoint();

  private:
    std::atomic<bool> signalled_{false};
    std::atomic<std::size_t> parked_{0};
    std::thread waiter_;
};

}  // namespace tabulon::cli
