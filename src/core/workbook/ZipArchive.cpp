// Reading zip parts through libzip.
#include "core/workbook/ZipArchive.h"

#include <zip.h>

#include <memory>
#include <vector>

#include "core/workbook/ChunkPipe.h"
#include "core/workbook/ReadLimits.h"

namespace tabulon::workbook {

namespace {

constexpr std::size_t kChunkSize = 256 * 1024;
// Parts above this size are inflated on a second thread.
constexpr std::uint64_t kPipelineThreshold = 4 << 20;

std::string zipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

}  // namespace

ZipArchive::ZipArchive(const std::string& path) : path_(path) {
    int code = 0;
    archive_ = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (archive_ != nullptr) return;
    switch (code) {
        case ZIP_ER_NOENT:
            fail(ReadErrorKind::FileNotFound, {}, {});
        case ZIP_ER_NOZIP:
            fail(ReadErrorKind::NotAWorkbook, {}, {});
        case ZIP_ER_OPEN:
        case ZIP_ER_READ:
        case ZIP_ER_SEEK:
        case ZIP_ER_MEMORY:
            fail(ReadErrorKind::CannotRead, {}, zipErrorText(code));
        default:
            fail(ReadErrorKind::DamagedContainer, {}, zipErrorText(code));
    }
}

ZipArchive::~ZipArchive() {
    if (archive_ != nullptr) zip_discard(archive_);
}

void ZipArchive::fail(ReadErrorKind kind, std::string_view part, std::string detail) const {
    throw ReadError(kind, {path_, std::string(part), {}, {}}, std::move(detail));
}

std::optional<std::uint64_t> ZipArchive::locate(std::string_view name) const {
    const std::string key(name);
    zip_int64_t index = zip_name_locate(archive_, key.c_str(), 0);
    if (index < 0) index = zip_name_locate(archive_, key.c_str(), ZIP_FL_NOCASE);
    if (index < 0) return std::nullopt;
    return static_cast<std::uint64_t>(index);
}

bool ZipArchive::contains(std::string_view name) const { return locate(name).has_value(); }

void ZipArchive::read(std::string_view name,
                      const std::function<void(const char*, std::size_t)>& sink) {
    const auto index = locate(name);
    if (!index) fail(ReadErrorKind::MissingPart, name, std::string(name));
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive_, *index, 0));
    if (!file) {
        const int code = zip_error_code_zip(zip_get_error(archive_));
        if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD)
            fail(ReadErrorKind::PasswordProtected, name, {});
        fail(ReadErrorKind::DamagedContainer, name, std::string(name) + ": " + zipErrorText(code));
    }
    auto inflate = [&](char* buffer, std::size_t capacity) -> std::size_t {
        const zip_int64_t n = zip_fread(file.get(), buffer, capacity);
        if (n < 0) {
            const int code = zip_error_code_zip(zip_file_get_error(file.get()));
            fail(ReadErrorKind::DamagedContainer, name,
                 std::string(name) + ": " + zipErrorText(code));
        }
        decompressed_ += static_cast<std::uint64_t>(n);
        if (decompressed_ > kMaxDecompressedBytes)
            fail(ReadErrorKind::TooLarge, name,
                 "more than " + std::to_string(kMaxDecompressedBytes >> 30) +
                     " GiB after decompression");
        return static_cast<std::size_t>(n);
    };
    zip_stat_t stat;
    zip_stat_init(&stat);
    const bool large = zip_stat_index(archive_, *index, 0, &stat) == 0 &&
                       (stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > kPipelineThreshold;
    if (large) {
        // Inflate on a second thread while the caller parses.
        pipeChunks(inflate, sink);
        return;
    }
    std::vector<char> buffer(kChunkSize);
    while (const std::size_t n = inflate(buffer.data(), buffer.size())) sink(buffer.data(), n);
}

std::string ZipArchive::readAll(std::string_view name) {
    std::string text;
    read(name, [&](const char* data, std::size_t n) { text.append(data, n); });
    return text;
}

}  // namespace tabulon::workbook
