// Mapping and unmapping the pages of a block.
#include "core/workbook/PageBlock.h"

#include <sys/mman.h>

#include <new>

namespace tabulon::workbook {

void* mapPages(std::size_t bytes) {
    void* pages = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) throw std::bad_alloc();
    return pages;
}

void unmapPages(void* pages, std::size_t bytes) {
    if (pages != nullptr) munmap(pages, bytes);
}

}  // namespace tabulon::workbook
