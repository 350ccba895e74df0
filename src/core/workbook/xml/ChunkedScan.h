// Scanning markup that arrives in chunks where each chunk lies: only a token that a chunk's end
// cuts is copied, together with as much of the next chunk as completes it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tabulon::workbook::xml {

// Thrown when one token grows past ChunkedScan::kMaxCarry bytes (far more than the longest cell
// text with every character escaped): such markup is left to a parser that keeps only what it
// needs.
struct TokenTooLong {};

// Scanner: const char* scan(const char* begin, const char* end) scans the whole tokens of the
// range, which continues where the last call stopped, and returns where it stopped: at the start
// of an incomplete token, or at the end of what it reads (then reachedEnd() is true).
template <class Scanner>
class ChunkedScan {
  public:
    static constexpr std::size_t kMaxCarry = std::size_t{8} << 20;

    // What follows the scanner's end, in two pieces: carried bytes, then the rest of the chunk.
    struct Rest {
        std::string_view carried;
        std::string_view chunk;
    };

    explicit ChunkedScan(Scanner& scanner) : scanner_(scanner) {}

    // Scans the chunk; once the scanner reaches its end, returns what follows it, which is the
    // caller's (valid until the next call).
    std::optional<Rest> feed(std::string_view chunk) {
        const char* data = chunk.data();
        const std::size_t size = chunk.size();
        std::size_t taken = 0;
        while (!carry_.empty()) {
            if (taken == size) return std::nullopt;
            // The copy grows geometrically and is scanned again only when it has doubled, so
            // that even a huge token costs time in proportion to its size.
            const std::size_t more =
                std::min(size - taken, std::max<std::size_t>(carry_.size(), 4096));
            carry_.append(data + taken, more);
            taken += more;
            if (carry_.size() > kMaxCarry) throw TokenTooLong{};
            if (carry_.size() < rescanSize_) continue;
            const char* stop = scanner_.scan(carry_.data(), carry_.data() + carry_.size());
            const std::size_t used = static_cast<std::size_t>(stop - carry_.data());
            if (scanner_.reachedEnd())
                return Rest{std::string_view(carry_).substr(used), chunk.substr(taken)};
            if (used == 0) {
                rescanSize_ = 2 * carry_.size();  // the carried token is still incomplete
                continue;
            }
            // The carried token is complete: go on in the chunk itself where what is left lies
            // there, else carry that on.
            const std::size_t rest = carry_.size() - used;
            if (rest <= taken) {
                taken -= rest;
                carry_.clear();
            } else {
                carry_.erase(0, used);
                rescanSize_ = 0;
            }
        }
        const char* stop = scanner_.scan(data + taken, data + size);
        if (scanner_.reachedEnd())
            return Rest{{}, chunk.substr(static_cast<std::size_t>(stop - data))};
        carry_.assign(stop, data + size);
        rescanSize_ = 0;
        return std::nullopt;
    }

    // After the last chunk: scans what is carried, which may have waited to double. Returns what
    // follows the scanner's end if it reached it; otherwise carrying() tells whether an
    // incomplete token is left.
    std::optional<Rest> finish() {
        if (carry_.empty()) return std::nullopt;
        const char* stop = scanner_.scan(carry_.data(), carry_.data() + carry_.size());
        const std::size_t used = static_cast<std::size_t>(stop - carry_.data());
        if (scanner_.reachedEnd()) return Rest{std::string_view(carry_).substr(used), {}};
        carry_.erase(0, used);
        return std::nullopt;
    }
    bool carrying() const { return !carry_.empty(); }
    // The incomplete token that is carried.
    std::string_view carried() const { return carry_; }

  private:
    Scanner& scanner_;
    std::string carry_;  // an incomplete token at the end of the last chunk
    std::size_t rescanSize_ = 0;
};

}  // namespace tabulon::workbook::xml
