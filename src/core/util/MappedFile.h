// A file's bytes, mapped read-only into memory: pages are read only when they are looked at.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tabulon {

class MappedFile {
  public:
    // Maps the whole file; throws FileError. The bytes stay readable while this object lives,
    // even when the file is deleted meanwhile.
    static std::shared_ptr<const MappedFile> open(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view bytes() const { return {data_, size_}; }

  private:
    MappedFile(const char* data, std::size_t size) : data_(data), size_(size) {}

    const char* data_;
    std::size_t size_;
};

}  // namespace tabulon
