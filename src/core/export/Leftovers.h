// What the process must not leave behind however it ends: the private folders of its runs and
// the file that a save is writing, removed by whoever ends the process without unwinding (a
// signal, exit() called inside a library).
#pragma once

#include <string>

namespace tabulon {

// Held while a run folder or a save's unfinished file is made, named or removed, so that the
// making and the keeping are one step for removeLeftovers().
class LeftoverLock {
  public:
    LeftoverLock();
    ~LeftoverLock();
    LeftoverLock(const LeftoverLock&) = delete;
    LeftoverLock& operator=(const LeftoverLock&) = delete;

    // Keeps the path for removal at an abrupt end, or lets it go.
    void keep(const std::string& path);
    void forget(const std::string& path);
};

// Removes every run folder and unfinished file of this process; may be called from any thread.
// The lock is then held for good, so that nothing new is made or named: it is for the way to
// the process's end only. Runs at exit() on its own once anything was kept.
void removeLeftovers();

// Removes a folder and everything in it, ignoring every failure. A run may still be creating
// files in it, so the folder is first moved into a new private folder beside it, out of reach.
void removeFolderQuietly(const std::string& path);

}  // namespace tabulon
