// Reading zip parts through libzip.
#include "core/workbook/ZipArchive.h"

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "core/workbook/ChunkPipe.h"
#include "core/workbook/InflatedEntry.h"
#include "core/workbook/ReadLimits.h"

namespace tabulon::workbook {

namespace {

constexpr std::size_t kChunkSize = 256 * 1024;
// Entries above this size are inflated on a second thread.
constexpr std::uint64_t kPipelineThreshold = 4 << 20;
// The content between two points kept along an entry, at least: a later stream inflates at most
// this much that it skips. Each point holds the inflater's state (about 90 KiB with ISA-L), so
// the spacing grows with the content passed, which keeps an entry of any size to a hundred points
// or so.
constexpr std::uint64_t kPointSpacing = 8 << 20;

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

// libzip's view of a PackageBytes: a seekable, readable source. Exceptions stay on this side of
// libzip and come back as its read error; the package's own ReadError is kept for the caller.
struct SourceState {
    PackageBytes* bytes;
    std::uint64_t offset = 0;
    zip_error_t error{};
    std::exception_ptr failure;
};

zip_int64_t packageSource(void* userdata, void* data, zip_uint64_t length,
                          zip_source_cmd_t command) {
    auto* state = static_cast<SourceState*>(userdata);
    switch (command) {
        case ZIP_SOURCE_OPEN:
            state->offset = 0;
            return 0;
        case ZIP_SOURCE_READ:
            try {
                const std::size_t n =
                    state->bytes->read(state->offset, static_cast<unsigned char*>(data), length);
                state->offset += n;
                return static_cast<zip_int64_t>(n);
            } catch (...) {
                state->failure = std::current_exception();
                zip_error_set(&state->error, ZIP_ER_READ, 0);
                return -1;
            }
        case ZIP_SOURCE_CLOSE:
            return 0;
        case ZIP_SOURCE_STAT: {
            auto* stat = static_cast<zip_stat_t*>(data);
            zip_stat_init(stat);
            stat->size = state->bytes->size();
            stat->valid |= ZIP_STAT_SIZE;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&state->error, data, length);
        case ZIP_SOURCE_FREE:
            zip_error_fini(&state->error);
            delete state;
            return 0;
        case ZIP_SOURCE_SEEK: {
            const zip_int64_t at = zip_source_seek_compute_offset(
                state->offset, state->bytes->size(), data, length, &state->error);
            if (at < 0) return -1;
            state->offset = static_cast<std::uint64_t>(at);
            return 0;
        }
        case ZIP_SOURCE_TELL:
            return static_cast<zip_int64_t>(state->offset);
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(
                ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                ZIP_SOURCE_SUPPORTS, -1);
        default:
            zip_error_set(&state->error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
    }
}

}  // namespace

ZipArchive::ZipArchive(const std::string& path) : path_(path) {
    int code = 0;
    archive_ = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (archive_ == nullptr) failToOpen(code);
}

ZipArchive::ZipArchive(const std::string& path, std::unique_ptr<PackageBytes> bytes)
    : path_(path), bytes_(std::move(bytes)) {
    auto* state = new SourceState{bytes_.get(), 0, {}, {}};
    zip_error_init(&state->error);
    sourceFailure_ = &state->failure;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_function_create(packageSource, state, &error);
    if (source == nullptr) {
        zip_error_fini(&state->error);
        delete state;
        failToOpen(zip_error_code_zip(&error));
    }
    archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
    const int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    if (archive_ != nullptr) return;
    const std::exception_ptr failure = state->failure;
    zip_source_free(source);
    if (failure) std::rethrow_exception(failure);
    // A decrypted package that is no zip is damaged.
    fail(ReadErrorKind::DamagedContainer, {},
         "its decrypted package is not a sound zip: " + zipErrorText(code));
}

void ZipArchive::countDecompressed(std::string_view name, std::uint64_t bytes) {
    if ((decompressed_ += bytes) > kMaxDecompressedBytes)
        fail(ReadErrorKind::TooLarge, name,
             "more than " + std::to_string(kMaxDecompressedBytes >> 30) +
                 " GiB after decompression");
}

void ZipArchive::countUpTo(std::string_view name, std::uint64_t entry, int kind,
                           std::uint64_t position) {
    std::uint64_t& counted = counted_[{entry, kind}];
    if (position <= counted) return;
    const std::uint64_t more = position - counted;
    counted = position;
    countDecompressed(name, more);
}

void ZipArchive::rethrowSourceFailure() const {
    if (sourceFailure_ != nullptr && *sourceFailure_) std::rethrow_exception(*sourceFailure_);
}

// The file began as a zip does, so a zip that cannot be opened is damaged, not some other kind
// of file; "not found" only when the file has gone meanwhile.
void ZipArchive::failToOpen(int code) const {
    std::error_code ec;
    switch (code) {
        case ZIP_ER_NOENT:
            if (!std::filesystem::exists(path_, ec)) fail(ReadErrorKind::FileNotFound, {}, {});
            break;
        case ZIP_ER_NOZIP:
            fail(ReadErrorKind::DamagedContainer, {},
                 "its zip directory is missing or broken: the file may be cut short");
        case ZIP_ER_OPEN:
        case ZIP_ER_READ:
        case ZIP_ER_SEEK:
        case ZIP_ER_MEMORY:
            fail(ReadErrorKind::CannotRead, {}, zipErrorText(code));
        default:
            break;
    }
    fail(ReadErrorKind::DamagedContainer, {},
         "its zip directory cannot be read: " + zipErrorText(code));
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

std::optional<std::uint64_t> ZipArchive::statedSize(std::string_view name) const {
    const auto index = locate(name);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (!index || zip_stat_index(archive_, static_cast<zip_uint64_t>(*index), 0, &stat) != 0 ||
        (stat.valid & ZIP_STAT_SIZE) == 0)
        return std::nullopt;
    return stat.size;
}

// An entry opened for reading: its bytes as the zip stores them (inflated when the zip compressed
// them), decoded when the package encrypts them.
class ZipArchive::EntryStream : public PartStream {
  public:
    EntryStream(ZipArchive& archive, std::string_view name, std::uint64_t skip = 0,
                Inflating inflating = Inflating::Ahead)
        : archive_(archive), name_(name), skip_(skip) {
        decoder_ = archive.decoders_ ? archive.decoders_(name) : nullptr;
        const auto index = archive.locate(name);
        if (!index) archive.fail(ReadErrorKind::MissingPart, name, name_);
        index_ = *index;
        zip_stat_t stat;
        zip_stat_init(&stat);
        const bool known = zip_stat_index(archive.archive_, *index, 0, &stat) == 0;
        // A deflated entry is inflated here from its compressed bytes; any other goes through
        // libzip, which also reads one without compressed bytes as empty, whatever its CRC.
        const zip_uint64_t needed =
            ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD | ZIP_STAT_CRC | ZIP_STAT_COMP_SIZE;
        const bool inflateHere = known && (stat.valid & needed) == needed &&
                                 stat.comp_method == ZIP_CM_DEFLATE &&
                                 stat.encryption_method == ZIP_EM_NONE && stat.comp_size > 0;
        file_.reset(zip_fopen_index(archive.archive_, *index, inflateHere ? ZIP_FL_COMPRESSED : 0));
        if (!file_) {
            const int code = zip_error_code_zip(zip_get_error(archive.archive_));
            archive.rethrowSourceFailure();
            if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD)
                archive.fail(ReadErrorKind::PasswordProtected, name, {});
            archive.fail(ReadErrorKind::DamagedContainer, name, name_ + ": " + zipErrorText(code));
        }
        if (inflateHere) startInflating(stat.crc);
        const bool large = !archive.twin_ && inflating == Inflating::Ahead && known &&
                           (stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > kPipelineThreshold;
        if (large) {
            // Inflated on a second thread while the caller parses.
            pipe_.emplace([this](char* buffer, std::size_t capacity) {
                return produceChunk(buffer, capacity);
            });
        } else {
            buffer_.resize(kChunkSize);
        }
    }

    std::string_view next() override {
        if (pipe_) return pipe_->next();
        return {buffer_.data(), produceChunk(buffer_.data(), buffer_.size())};
    }

  private:
    // From the last point kept before the bytes to skip, when there is one.
    void startInflating(std::uint32_t crc) {
        // A decoded part is skipped in decoded bytes, which the points do not place.
        keeping_ = !decoder_ && archive_.keepsPoints(index_);
        const auto from = keeping_ ? archive_.pointBefore(index_, skip_) : std::nullopt;
        if (!from) {
            inflated_.emplace(file_.get(), crc);
            return;
        }
        inflated_.emplace(file_.get(), crc, *from);
        storedCount_ = from->content;
        skip_ -= from->content;
    }

    // The next chunk for the caller, past the bytes to skip.
    std::size_t produceChunk(char* buffer, std::size_t capacity) {
        for (;;) {
            std::size_t n = produce(buffer, capacity);
            if (n == 0) return 0;
            if (skip_ >= n) {
                skip_ -= n;
                continue;
            }
            if (skip_ > 0) {
                n -= static_cast<std::size_t>(skip_);
                std::memmove(buffer, buffer + skip_, n);
                skip_ = 0;
            }
            return n;
        }
    }

    std::size_t produce(char* buffer, std::size_t capacity) {
        return decoder_ ? produceDecoded(buffer, capacity) : produceStored(buffer, capacity);
    }

    std::size_t produceStored(char* buffer, std::size_t capacity) {
        const zip_int64_t n = inflated_ ? inflated_->read(buffer, capacity)
                                        : zip_fread(file_.get(), buffer, capacity);
        if (n < 0) {
            archive_.rethrowSourceFailure();
            const int code = inflated_ ? inflated_->error()
                                       : zip_error_code_zip(zip_file_get_error(file_.get()));
            archive_.fail(ReadErrorKind::DamagedContainer, name_,
                          name_ + ": " + zipErrorText(code));
        }
        storedCount_ += static_cast<std::uint64_t>(n);
        archive_.countUpTo(name_, index_, 0, storedCount_);
        if (keeping_)
            archive_.passedPoint(index_, storedCount_, [&] { return inflated_->point(); });
        return static_cast<std::size_t>(n);
    }

    // The decoder turns each piece of stored bytes into any amount of content, which waits
    // here until it is taken; small pieces keep that amount small.
    std::size_t produceDecoded(char* buffer, std::size_t capacity) {
        pending_.erase(0, pendingAt_);
        pendingAt_ = 0;
        // The decoded content counts against the same cap as inflated parts.
        const PartDecoder::Sink keep = [&](const char* data, std::size_t n) {
            decodedCount_ += n;
            archive_.countUpTo(name_, index_, 1, decodedCount_);
            pending_.append(data, n);
        };
        while (pending_.size() < capacity && !storedEnded_) {
            if (stored_.empty()) stored_.resize(kDecodedPiece);
            const std::size_t n = produceStored(stored_.data(), stored_.size());
            if (n == 0) {
                decoder_->finish(keep);
                storedEnded_ = true;
            } else {
                decoder_->decode(stored_.data(), n, keep);
            }
        }
        const std::size_t n = std::min(capacity, pending_.size());
        pending_.copy(buffer, n);
        pendingAt_ = n;
        return n;
    }

    static constexpr std::size_t kDecodedPiece = 64 * 1024;

    ZipArchive& archive_;
    std::string name_;
    std::uint64_t index_ = 0;
    std::uint64_t storedCount_ = 0;   // bytes as stored or inflated, so far
    std::uint64_t decodedCount_ = 0;  // bytes decoded, so far
    std::uint64_t skip_;
    std::unique_ptr<PartDecoder> decoder_;
    std::unique_ptr<zip_file_t, FileCloser> file_;
    std::optional<InflatedEntry> inflated_;
    bool keeping_ = false;  // points are kept along this entry
    std::vector<char> buffer_;
    std::vector<char> stored_;
    std::string pending_;
    std::size_t pendingAt_ = 0;
    bool storedEnded_ = false;
    // Last: its thread reads through everything above, and stops before they go.
    std::optional<ChunkPipe> pipe_;
};

std::unique_ptr<PartStream> ZipArchive::stream(std::string_view name, std::uint64_t skip,
                                               Inflating inflating) {
    return std::make_unique<EntryStream>(*this, name, skip, inflating);
}

void ZipArchive::read(std::string_view name,
                      const std::function<void(const char*, std::size_t)>& sink) {
    EntryStream entry(*this, name);
    for (std::string_view chunk = entry.next(); !chunk.empty(); chunk = entry.next())
        sink(chunk.data(), chunk.size());
}

void ZipArchive::keepPoints(std::string_view name) {
    const auto index = locate(name);
    if (!index) return;
    const auto stamp = stampOf(*index);
    if (!stamp) return;
    const std::lock_guard lock(pointsMutex_);
    points_.try_emplace(*index, EntryPoints{*stamp, {}});
}

std::optional<std::string> ZipArchive::stampOf(std::uint64_t index) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    const zip_uint64_t needed = ZIP_STAT_NAME | ZIP_STAT_CRC | ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE;
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        (stat.valid & needed) != needed)
        return std::nullopt;
    return std::string(stat.name) + '\n' + std::to_string(stat.crc) + ' ' +
           std::to_string(stat.size) + ' ' + std::to_string(stat.comp_size);
}

bool ZipArchive::keepsPoints(std::uint64_t index) const {
    const std::lock_guard lock(pointsMutex_);
    return points_.contains(index);
}

std::optional<InflatePoint> ZipArchive::pointBefore(std::uint64_t index,
                                                    std::uint64_t content) const {
    const std::lock_guard lock(pointsMutex_);
    const auto kept = points_.find(index);
    std::optional<InflatePoint> from;
    if (kept != points_.end())
        for (const InflatePoint& point : kept->second.points)
            if (point.content <= content) from = point;
    return from;
}

void ZipArchive::passedPoint(std::uint64_t index, std::uint64_t content,
                             const std::function<InflatePoint()>& point) {
    if (twin_) return;
    const std::lock_guard lock(pointsMutex_);
    EntryPoints& kept = points_.at(index);
    if (content < kept.lastKept + std::max(kPointSpacing, kept.lastKept / 16)) return;
    kept.points.push_back(point());
    kept.lastKept = content;
}

std::vector<std::uint64_t> ZipArchive::pointsKept(std::string_view name) const {
    std::vector<std::uint64_t> offsets;
    const auto index = locate(name);
    if (!index) return offsets;
    const std::lock_guard lock(pointsMutex_);
    if (const auto kept = points_.find(*index); kept != points_.end())
        for (const InflatePoint& point : kept->second.points) offsets.push_back(point.content);
    return offsets;
}

void ZipArchive::letGoOfPoints(std::string_view name, std::uint64_t from, std::uint64_t to,
                               std::span<const std::uint64_t> keep) {
    const auto index = locate(name);
    if (!index) return;
    const std::lock_guard lock(pointsMutex_);
    const auto kept = points_.find(*index);
    if (kept == points_.end()) return;
    std::erase_if(kept->second.points, [&](const InflatePoint& point) {
        return point.content >= from && point.content < to &&
               std::find(keep.begin(), keep.end(), point.content) == keep.end();
    });
}

std::unique_ptr<ZipArchive> ZipArchive::twin() const {
    if (bytes_ || decoders_) return nullptr;
    std::unique_ptr<ZipArchive> other;
    try {
        other = std::make_unique<ZipArchive>(path_);
    } catch (const ReadError&) {
        return nullptr;
    }
    const std::lock_guard lock(pointsMutex_);
    // The points hold places in an entry's compressed bytes: they serve only the same bytes.
    for (const auto& [index, kept] : points_) {
        if (other->stampOf(index) != kept.stamp) return nullptr;
        other->points_.emplace(index, kept);
    }
    other->twin_ = true;
    return other;
}

std::string ZipArchive::readAll(std::string_view name) {
    std::string text;
    read(name, [&](const char* data, std::size_t n) { text.append(data, n); });
    return text;
}

}  // namespace tabulon::workbook
