// Fuzzer input written to a scratch file, whole or as the entries of a stored zip.
#include "FuzzInput.h"

#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace tabulon::fuzz {

std::string scratchPath() {
    // Removed when the process exits normally, as a fuzzing session does at its time limit.
    static const struct Scratch {
        std::string path;
        ~Scratch() { std::remove(path.c_str()); }
    } scratch{(std::filesystem::temp_directory_path() /
               ("tabulon-fuzz-" + std::to_string(::getpid()) + ".bin"))
                  .string()};
    return scratch.path;
}

void writeWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) throw std::runtime_error("cannot write " + path);
}

void writePackage(const std::string& path, const std::uint8_t* data, std::size_t size) {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive == nullptr) throw std::runtime_error("cannot create " + path);
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t wanted = data[pos++];
        const std::size_t nameLength = std::min(wanted, size - pos);
        const std::string name(reinterpret_cast<const char*>(data + pos), nameLength);
        pos += nameLength;
        std::uint32_t length = 0;
        if (size - pos >= 4) {
            std::memcpy(&length, data + pos, 4);
            pos += 4;
        } else {
            pos = size;
        }
        const std::size_t contentLength = std::min<std::size_t>(length, size - pos);
        // The zip copies the content at close; names it refuses (duplicates, empty) are dropped.
        zip_source_t* source = zip_source_buffer(archive, data + pos, contentLength, 0);
        pos += contentLength;
        if (source == nullptr) continue;
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            continue;
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        throw std::runtime_error("cannot write " + path);
    }
}

void writePackageInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    if (size >= 4 && std::memcmp(data, "PK\x03\x04", 4) == 0)
        writeWholeFile(path, data, size);
    else
        writePackage(path, data, size);
}

}  // namespace tabulon::fuzz
