// Large blocks of a store's memory mapped on their own, so that each goes back to the system the
// moment it is freed. From the heap, the blocks of a released sheet would mostly stay with the
// process, and the blocks that another thread filled would stay with that thread's heap, however
// many sheets later.
#pragma once

#include <cstddef>
#include <memory>

namespace tabulon::workbook {

// Maps `bytes` of fresh memory; throws std::bad_alloc when the system has none.
void* mapPages(std::size_t bytes);
void unmapPages(void* pages, std::size_t bytes);

template <class T>
class PageDeleter {
  public:
    PageDeleter() = default;
    explicit PageDeleter(std::size_t count) : count_(count) {}
    void operator()(T* block) const { unmapPages(block, count_ * sizeof(T)); }

  private:
    std::size_t count_ = 0;
};

// `count` elements of T, which must be trivial types, left as the system gives them (zero).
template <class T>
using PageBlock = std::unique_ptr<T[], PageDeleter<T>>;

template <class T>
PageBlock<T> makePageBlock(std::size_t count) {
    return PageBlock<T>(static_cast<T*>(mapPages(count * sizeof(T))), PageDeleter<T>(count));
}

}  // namespace tabulon::workbook
