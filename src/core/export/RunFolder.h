// The private folder of one export run inside the temporary folder, marked as alive by a lock
// that the system lets go of when the process ends, however it ends.
#pragma once

#include <mutex>
#include <string>

namespace tabulon {

class RunFolder {
  public:
    RunFolder() = default;
    ~RunFolder() { remove(); }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    // The folder, made on first use as a new folder of its own (mode 0700, a name no one else
    // holds) inside tempFolder(), after the folders of ended runs there are removed. Throws
    // FileError when it cannot be made.
    std::string path();
    // Creates a new file in the folder, open for writing, and returns its descriptor; `name`
    // gets its path. Throws FileError.
    int createFile(std::string& name);
    // The folder if one is made, else empty.
    std::string current() const;

  private:
    std::string makeLocked();
    // Removes the folder with everything in it.
    void remove();

    mutable std::mutex mutex_;
    std::string path_;
    int lock_ = -1;       // the open lock file, flock()ed while the folder lives
    unsigned files_ = 0;  // numbers the files made in the folder
};

// Removes the run folders ("tabulon-XXXXXX") of this user in `tempFolder` whose runs have ended:
// those whose lock can be taken, and those without a lock file (a run that ended between making
// its folder and locking it, or one of a Tabulon without the lock) that nothing has changed for
// a day. Entries of other users, links and live runs' folders are left alone.
void removeEndedRunFolders(const std::string& tempFolder);

}  // namespace tabulon
