// Producing chunks of bytes on a worker thread while the calling thread consumes them, so that
// decompression and parsing of a large part overlap.
#pragma once

#include <cstddef>
#include <functional>

namespace tabulon::workbook {

// produce(buffer, capacity) fills the buffer and returns the byte count, 0 at the end; it runs on
// a worker thread. consume(data, size) runs on the calling thread, in order. An exception from
// either side stops both and is rethrown here (the consumer's first).
void pipeChunks(const std::function<std::size_t(char*, std::size_t)>& produce,
                const std::function<void(const char*, std::size_t)>& consume);

}  // namespace tabulon::workbook
