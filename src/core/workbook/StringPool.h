// Many strings kept in one buffer and addressed by index, without an allocation per string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::workbook {

class StringPool {
  public:
    std::uint32_t add(std::string_view text) {
        chars_.append(text);
        ends_.push_back(chars_.size());
        return static_cast<std::uint32_t>(ends_.size() - 1);
    }
    std::string_view get(std::uint32_t index) const {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(chars_).substr(begin, ends_[index] - begin);
    }
    std::size_t size() const { return ends_.size(); }
    std::size_t charCount() const { return chars_.size(); }
    void shrinkToFit() {
        chars_.shrink_to_fit();
        ends_.shrink_to_fit();
    }

  private:
    std::string chars_;
    std::vector<std::size_t> ends_;
};

}  // namespace tabulon::workbook
