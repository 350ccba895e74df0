// The private folder of one export run inside the temporary folder.
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
    // holds) inside TempFolder(). Throws FileError when it cannot be made.
    std::string path();
    // Removes the folder with everything in it; the next path() makes a new one.
    void remove();
    // The folder if one is made, else empty; may be called from any thread.
    std::string current() const;

  private:
    mutable std::mutex mutex_;
    std::string path_;
};

// Removes a folder and its files; every failure is ignored.
void RemoveFolderQuietly(const std::string& path);

}  // namespace tabulon
