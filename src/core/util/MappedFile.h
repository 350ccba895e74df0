// A file's bytes, mapped read-only into memory: pages are read only when they are looked at.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tabulon {

class MappedFile {
  public:
    // Maps the whole file; throws FileError. The bytes stay readable while this object lives,
    // even when the file is deleted meanwhile.
    static std::shared_ptr<const MappedFile> open(const std::string& path);
    // Maps `size` bytes from `offset` of the file.
    static std::shared_ptr<const MappedFile> open(const std::string& path, std::uint64_t offset,
                                                  std::uint64_t size);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view bytes() const { return {data_, size_}; }
    // Lets go of the memory that the bytes from..from + length take while they are not looked
    // at; they are read from the file again when they are.
    void release(std::size_t from, std::size_t length) const;

  private:
    MappedFile(void* mapping, std::size_t mappedSize, const char* data, std::size_t size)
        : mapping_(mapping), mappedSize_(mappedSize), data_(data), size_(size) {}

    void* mapping_;
    std::size_t mappedSize_;
    const char* data_;
    std::size_t size_;
};

}  // namespace tabulon
