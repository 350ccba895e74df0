// The results of one export run: their texts, each kept in a file of the run's private folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/export/RunFolder.h"
#include "core/export/StoredText.h"

namespace tabulon {

// A result that would grow past this many bytes is stopped.
inline constexpr std::uint64_t kDefaultResultSizeLimit = std::uint64_t{4} << 30;

class ResultStore {
  public:
    explicit ResultStore(std::uint64_t sizeLimit = kDefaultResultSizeLimit)
        : sizeLimit_(sizeLimit) {}

    // Forgets every result and removes the private folder of the run that made them.
    void reset();
    // Forgets the results so far and deletes their files; the folder stays for further results.
    void clear();

    RunFolder& folder() { return folder_; }
    const RunFolder& folder() const { return folder_; }
    std::uint64_t sizeLimit() const { return sizeLimit_; }

    // Keeps the finished temporary file under a further name of the store as well, and returns
    // the stored text; deleting the temporary name afterwards frees it and keeps the text.
    StoredText keep(const std::string& tempPath);
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
};

}  // namespace tabulon
