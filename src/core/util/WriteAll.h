// Writing bytes to a file descriptor, through a call that tests can replace to act out a full disk.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon {

// The call that writes bytes to a file descriptor, as write(2) does. Tests put a failing one in
// place to act out a full disk; nullptr restores write(2).
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
void setWriteCall(WriteCall call);

// Writes all of `bytes` to `fd` through the write call in place; throws FileError with the
// system's reason and `path`.
void writeAll(int fd, std::string_view bytes, const std::string& path);

}  // namespace tabulon
