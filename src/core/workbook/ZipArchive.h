// A zip container opened for reading parts, with the decompressed size of all reads capped.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/workbook/InflatedEntry.h"
#include "core/workbook/PackageBytes.h"
#include "core/workbook/ReadError.h"

struct zip;

namespace tabulon::workbook {

// Turns an entry's stored bytes into its content, for the entries that a package encrypts.
class PartDecoder {
  public:
    using Sink = std::function<void(const char*, std::size_t)>;
    virtual ~PartDecoder() = default;
    virtual void decode(const char* data, std::size_t size, const Sink& sink) = 0;
    virtual void finish(const Sink& sink) = 0;
};

// The decoder for a part, or null for a part that is read as stored.
using PartDecoders = std::function<std::unique_ptr<PartDecoder>(std::string_view part)>;

// The decompressed bytes of one package part, taken chunk by chunk.
class PartStream {
  public:
    virtual ~PartStream() = default;
    // The next bytes, empty at the entry's end; valid until the next call. Throws ReadError as
    // ZipArchive::read does.
    virtual std::string_view next() = 0;
};

class ZipArchive {
  public:
    // Throws ReadError when the file is missing, unreadable or not a sound zip.
    explicit ZipArchive(const std::string& path);
    // A zip whose bytes come from the source (a decrypted package); the path names the workbook
    // in error messages. Throws ReadError when the bytes are not a sound zip.
    ZipArchive(const std::string& path, std::unique_ptr<PackageBytes> bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    const std::string& path() const { return path_; }
    // Part names compare exactly first, then without regard to case (some writers differ).
    bool contains(std::string_view name) const;
    // Streams the package part's decompressed bytes to the sink in chunks. Throws ReadError for a
    // missing part, damaged data, an encrypted entry or when the workbook's size cap is passed.
    void read(std::string_view name, const std::function<void(const char*, std::size_t)>& sink);
    // Where a stream inflates a large entry: on a second thread while the caller takes the
    // chunks, or on the caller's thread, when another thread of the caller's keeps the second
    // core busy already.
    enum class Inflating { Ahead, OnCaller };
    // The same bytes, taken by the caller chunk by chunk; a large part is inflated on a second
    // thread meanwhile, unless told otherwise. The first `skip` bytes are passed over there.
    // Parts are read one at a time: nothing else is read from the archive while the stream lives.
    std::unique_ptr<PartStream> stream(std::string_view name, std::uint64_t skip = 0,
                                       Inflating inflating = Inflating::Ahead);
    // The size of the entry's content as the archive states it; nothing when it does not.
    std::optional<std::uint64_t> statedSize(std::string_view name) const;
    // The whole part, for small parts.
    std::string readAll(std::string_view name);
    // Streams of the deflated part keep points along its content from now on, from which a later
    // stream with a skip starts instead of inflating all the skipped bytes again.
    void keepPoints(std::string_view name);
    // The content offsets of the points kept along the named entry so far, in order.
    std::vector<std::uint64_t> pointsKept(std::string_view name) const;
    // Lets go of the points kept along the named entry at content offsets in [from, to), but
    // those at the offsets in `keep`: once a reader knows which places it will start from again.
    void letGoOfPoints(std::string_view name, std::uint64_t from, std::uint64_t to,
                       std::span<const std::uint64_t> keep);
    // Another reader of the same file, for a second thread, with the points kept so far; its
    // streams inflate on the thread that takes their chunks, the other threads being busy
    // already, and keep no points of their own. Null when the archive reads bytes given to it
    // or decodes its parts, or when the file now holds other content for the entries with points.
    std::unique_ptr<ZipArchive> twin() const;
    // From now on, parts are read through their decoders.
    void setPartDecoders(PartDecoders decoders) { decoders_ = std::move(decoders); }

  private:
    class EntryStream;

    std::optional<std::uint64_t> locate(std::string_view name) const;
    [[noreturn]] void fail(ReadErrorKind kind, std::string_view part, std::string detail) const;

    [[noreturn]] void failToOpen(int code) const;
    void rethrowSourceFailure() const;
    // Adds to the bytes produced by reads; throws ReadError (TooLarge) past the cap.
    void countDecompressed(std::string_view name, std::uint64_t bytes);
    // The same for the bytes of an entry's output (kind 0: as stored or inflated, 1: decoded) up
    // to `position`, counting only what no earlier read of the entry counted: reading a part
    // again costs nothing against the cap.
    void countUpTo(std::string_view name, std::uint64_t entry, int kind, std::uint64_t position);

    std::string path_;
    std::unique_ptr<PackageBytes> bytes_;  // outlives archive_, which reads from it
    struct zip* archive_ = nullptr;
    // Where a PackageBytes source keeps the exception that made a read fail; owned by libzip.
    std::exception_ptr* sourceFailure_ = nullptr;
    std::atomic<std::uint64_t> decompressed_ = 0;  // counted on the inflating thread
    // How far each entry's output has been counted, by entry index and kind.
    std::map<std::pair<std::uint64_t, int>, std::uint64_t> counted_;
    // The points kept along one entry's content, in content order, and what the entry was (its
    // name, CRC and sizes) when they were kept.
    struct EntryPoints {
        std::string stamp;
        std::vector<InflatePoint> points;
        std::uint64_t lastKept = 0;  // the content offset of the last point kept, let go of or not
    };
    // The name, CRC and sizes of the entry; nullopt when they are not known.
    std::optional<std::string> stampOf(std::uint64_t index) const;
    // Whether points are kept along the entry.
    bool keepsPoints(std::uint64_t index) const;
    // The last point kept along the entry at or before `content`, if any.
    std::optional<InflatePoint> pointBefore(std::uint64_t index, std::uint64_t content) const;
    // Keeps a point along the entry once its content has passed the next one's place.
    void passedPoint(std::uint64_t index, std::uint64_t content,
                     const std::function<InflatePoint()>& point);

    // Streams on other threads keep points while the archive's twins are made.
    mutable std::mutex pointsMutex_;
    std::map<std::uint64_t, EntryPoints> points_;  // by entry index
    PartDecoders decoders_;
    // Made by twin(): its streams inflate on the thread that takes their chunks and only start
    // from the points it was given, which its twin's streams keep.
    bool twin_ = false;
};

}  // namespace tabulon::workbook
