// The results of one export run: their texts, each kept in a file of the run's private folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/RunFolder.h"
#include "core/export/StoredText.h"

namespace tabulon {

// A result that would grow past this many bytes is stopped.
inline constexpr std::uint64_t kDefaultResultSizeLimit = std::uint64_t{4} << 30;
// A result up to this many bytes is built in memory and gathered with the run's other small
// results into one file; a larger one is built in a temporary file of its own.
inline constexpr std::size_t kSmallResultSize = std::size_t{1} << 16;

class ResultStore {
  public:
    explicit ResultStore(std::uint64_t sizeLimit = kDefaultResultSizeLimit)
        : sizeLimit_(sizeLimit) {}
    ~ResultStore();
    ResultStore(const ResultStore&) = delete;
    ResultStore& operator=(const ResultStore&) = delete;

    // Forgets every result and removes the private folder of the run that made them.
    void reset();
    // Forgets the results so far and deletes their files; the folder stays for further results.
    void clear();

    // The room left in the temporary folder, measured again after every 64 MiB kept and at
    // least once a run; between measurements, what was kept since is taken off.
    std::uint64_t freeSpace();

    RunFolder& folder() { return folder_; }
    const RunFolder& folder() const { return folder_; }
    std::uint64_t sizeLimit() const { return sizeLimit_; }

    // Adds a small text to the file that gathers them (a run of a million row results makes no
    // million files) and returns it as stored. Throws FileError naming that file; a failed
    // write leaves no part of the text behind.
    StoredText gather(std::string_view text);
    // Keeps the text of the finished temporary file of `size` bytes and returns the stored text;
    // deleting the temporary file afterwards frees its name and keeps the text, which stays
    // under a further name. A text that begins with a UTF-16 byte-order mark is kept as the
    // read-back turns it into text.
    StoredText keep(const std::string& tempPath, std::uint64_t size, bool byteOrderMark);
    void add(StoredText text) { texts_.push_back(std::move(text)); }

    std::size_t size() const { return texts_.size(); }
    bool empty() const { return texts_.empty(); }
    const StoredText& at(std::size_t index) const { return texts_.at(index); }
    const StoredText& operator[](std::size_t index) const { return texts_[index]; }
    const StoredText& back() const { return texts_.back(); }

  private:
    std::uint64_t sizeLimit_;
    RunFolder folder_;
    std::vector<StoredText> texts_;
    std::uint64_t kept_ = 0;  // numbers the store's names
    int gathered_ = -1;       // the file of the small texts, open for appending
    std::shared_ptr<const std::string> gatheredFile_;
    std::uint64_t gatheredSize_ = 0;
    std::uint64_t measuredFree_ = 0;
    std::uint64_t keptSinceMeasured_ = 0;
    bool measured_ = false;
};

}  // namespace tabulon
