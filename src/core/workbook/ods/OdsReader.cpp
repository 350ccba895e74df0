// Reading an OpenDocument package: the manifest for encryption and styles.xml when it opens, then
// content.xml once to find its tables, and again, forward, for the cells of each table (the
// first while its tables are still being found).
#include "core/workbook/ods/OdsReader.h"

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "core/workbook/StoredWorkbook.h"
#include "core/workbook/crypto/OdfDecryption.h"
#include "core/workbook/ods/ContentHandler.h"
#include "core/workbook/ods/ContentOutline.h"
#include "core/workbook/ods/OdsStyles.h"
#include "core/workbook/ods/SecondHalf.h"
#include "core/workbook/ods/StyleFormats.h"
#include "core/workbook/ods/TableBodyScanner.h"
#include "core/workbook/ods/TableReader.h"
#include "core/workbook/xml/ChunkedScan.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::ods {

namespace {

// How far the scanner reads at a time before a large table's first row begins.
constexpr std::uint64_t kFirstRowStep = 4096;

// The lines that the bytes end, as an XML parser counts them (LF, CR LF and a lone CR); cr: the
// last byte before them was a CR.
std::uint64_t lineEnds(std::string_view bytes, bool& cr) {
    std::uint64_t count = 0;
    for (const char c : bytes) {
        if (c == '\r' || (c == '\n' && !cr)) ++count;
        cr = c == '\r';
    }
    return count;
}

// The first table as the outline's thread finds it: where it begins, with the formats of the
// styles as they stood there, and then where it ends; told in turn how far the calling thread,
// which reads the table meanwhile, has got.
class FirstTableAhead : public FirstTablePlaced {
  public:
    struct Begun {
        WorksheetEntry table;
        TablePlace place;  // its start
        bool date1904;
    };

    FirstTableAhead(const OdsStyles& styles, std::vector<numfmt::NumberFormat>& cellFormats,
                    std::optional<StyleFormats>& formats)
        : styles_(styles), cellFormats_(cellFormats), formats_(formats) {}

    void firstTableBegun(const WorksheetEntry& table, const TablePlace& place,
                         bool date1904) override {
        formats_.emplace(styles_, cellFormats_);
        const std::lock_guard lock(mutex_);
        begun_ = Begun{table, place, date1904};
        changed_.notify_all();
    }
    std::uint64_t firstTableReadTo() const override { return readTo_; }
    void firstTableEnded(const TablePlace& place) override {
        const std::lock_guard lock(mutex_);
        ended_ = place;
        changed_.notify_all();
    }
    void outlineDone() {
        const std::lock_guard lock(mutex_);
        done_ = true;
        changed_.notify_all();
    }

    // The first table once it has begun; nothing when the outline ended without one.
    std::optional<Begun> waitBegun() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return begun_ || done_; });
        return begun_;
    }
    // The reading of the table has got to the content offset.
    void readTo(std::uint64_t offset) { readTo_ = offset; }
    // Its whole place, if its end is known yet.
    std::optional<TablePlace> ended() {
        const std::lock_guard lock(mutex_);
        return ended_;
    }
    // Its whole place once its end is known; nothing when the outline ended without it.
    std::optional<TablePlace> waitEnded() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return ended_ || done_; });
        return ended_;
    }

  private:
    const OdsStyles& styles_;
    std::vector<numfmt::NumberFormat>& cellFormats_;
    std::optional<StyleFormats>& formats_;
    std::atomic<std::uint64_t> readTo_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Begun> begun_;
    std::optional<TablePlace> ended_;
    bool done_ = false;
};

class OdsReader : public WorkbookReader {
  public:
    OdsReader(std::unique_ptr<ZipArchive> archive, PasswordSource* passwords,
              const OdsReadOptions& options)
        : archive_(std::move(archive)), passwords_(passwords), options_(options) {}
    ~OdsReader() override {
        content_.reset();  // its thread ends before what it reads goes
    }

    std::vector<WorksheetEntry> open(WorkbookData& book) override {
        ZipArchive& archive = *archive_;
        const ReadErrorPlace place = placeInFile(archive.path());
        // Text documents, drawings and presentations are OpenDocument packages too.
        if (archive.contains("mimetype") &&
            !archive.readAll("mimetype")
                 .starts_with("application/vnd.oasis.opendocument.spreadsheet"))
            throw ReadError(ReadErrorKind::NotAWorkbook, place);
        if (archive.contains("META-INF/manifest.xml"))
            crypto::unlockOdfPackage(archive, crypto::readOdfManifest(archive), passwords_);
        if (!archive.contains(kContentPart))
            throw ReadError(ReadErrorKind::MissingPart, place, std::string(kContentPart));

        OdsStyles styles;
        if (archive.contains("styles.xml")) readStylesPart(archive, "styles.xml", styles);
        const bool scanning = options_.tablePath == TablePath::Scanner;
        // The tables are read from points that the outline's reading keeps.
        if (scanning) archive.keepPoints(kContentPart);
        ContentOutline outline;
        std::optional<TablePlace> firstPlace;  // of the first table as the outline ended it
        // The outline of a content.xml of a megabyte or more (an eighth of what makes a table
        // be read in halves) is made on a thread of its own, and the first table is read
        // meanwhile, from its start, through a twin of the archive; a smaller one is quicker read
        // first (a thread and a second reader of the file cost about half a millisecond), and so
        // is the outline of a package without twins (its entries decoded).
        std::unique_ptr<ZipArchive> firstReader;
        if (scanning && archive.statedSize(kContentPart).value_or(0) >= options_.halvedSize / 8)
            firstReader = archive.twin();
        if (firstReader) {
            FirstTableAhead ahead(styles, book.cellFormats, formats_);
            std::exception_ptr failure;
            std::jthread outliner;  // joined when it goes, whatever is thrown meanwhile
            try {
                outliner = std::jthread([&] {
                    try {
                        outline = readContentOutline(archive, styles, &ahead);
                    } catch (...) {
                        failure = std::current_exception();
                    }
                    ahead.outlineDone();
                });
            } catch (const std::system_error&) {
                outline = readContentOutline(archive, styles, &ahead);  // no thread to be had
                ahead.outlineDone();
            }
            if (const auto first = ahead.waitBegun()) {
                book.date1904 = first->date1904;
                firstSheet_ = readAhead(*first, ahead, *firstReader, book);
            }
            if (outliner.joinable()) outliner.join();
            if (failure) std::rethrow_exception(failure);
            firstPlace = ahead.ended();
        } else {
            outline = readContentOutline(archive, styles);
        }
        places_ = std::move(outline.places);
        book.date1904 = outline.date1904;
        // The first table read ahead is kept when the styles and the date system it was read
        // with hold for all tables.
        const bool settled =
            !places_.empty() && outline.settledBeforeFirstTable && firstPlace == places_.front();
        if (!settled) firstSheet_.reset();
        // Styles defined after the first table began, or content.xml read as a whole: the formats
        // come from all the styles, compiled afresh, so that each style has the same format
        // however the tables are read.
        if (!settled || !formats_) {
            book.cellFormats.clear();
            formats_.emplace(styles, book.cellFormats);
        }
        // The next table to read is inflated and its first bytes made ready meanwhile (the
        // second while the first one, read already, is exported).
        const std::size_t next = firstSheet_ ? 1 : 0;
        if (scanning && places_.size() > next)
            restart(places_[next].bodyStart, inflatingFor(places_[next], true));
        return std::move(outline.tables);
    }

    std::unique_ptr<StoredWorksheet> readWorksheet(std::size_t index, const WorksheetEntry& entry,
                                                   const WorkbookData& book) override {
        // The first table as read when the workbook opened; let go of when another is asked for
        // first, so that one table is held at a time.
        if (index == 0 && firstSheet_) {
            taken(TablePath::Scanner);
            return std::move(firstSheet_);
        }
        firstSheet_.reset();
        // What the threads of the halves freed stays with their heaps otherwise, table after
        // table: it goes back to the system before the next table is read.
        if (halved_) malloc_trim(0);
        const ReadErrorPlace place{archive_->path(), std::string(kContentPart), entry.name, {}};
        if (!places_.empty() && options_.tablePath == TablePath::Scanner) {
            const TablePlace* next = index + 1 < places_.size() ? &places_[index + 1] : nullptr;
            if (auto sheet = readScanned(places_.at(index), next, entry, place, book)) {
                taken(TablePath::Scanner);
                return sheet;
            }
        }
        // Expat decides what the table holds.
        auto sheet = std::make_unique<OdsWorksheet>(book, entry.name, entry.visibility);
        TableReader reader(place, book, *formats_, *sheet);
        parseTable(index, reader, place);
        reader.finish();
        taken(TablePath::Expat);
        return sheet;
    }

  private:
    // The first table, read while the outline goes on, through `reader`, a twin of the archive;
    // null when it cannot be read so (it is read again when it is asked for, and says why).
    std::unique_ptr<OdsWorksheet> readAhead(const FirstTableAhead::Begun& first,
                                            FirstTableAhead& ahead, ZipArchive& reader,
                                            const WorkbookData& book) {
        source_ = &reader;
        // However the reading ends, its stream goes before the reader does.
        struct Restore {
            OdsReader& self;
            ~Restore() {
                self.content_.reset();
                self.source_ = self.archive_.get();
            }
        } restore{*this};
        try {
            return readScanned(first.place, nullptr, first.table,
                               {archive_->path(), std::string(kContentPart), first.table.name, {}},
                               book, &ahead);
        } catch (const ReadError&) {
            return nullptr;
        }
    }

    // The table read with the scanner, in two halves at once when it is large; a table that
    // reaches a limit while a second half holds part of the budgets is read again by one thread.
    // Null when the scanner leaves the table to expat. ahead: see scanTable.
    std::unique_ptr<OdsWorksheet> readScanned(const TablePlace& table, const TablePlace* next,
                                              const WorksheetEntry& entry,
                                              const ReadErrorPlace& place, const WorkbookData& book,
                                              FirstTableAhead* ahead = nullptr) {
        for (bool halves = true;; halves = false) {
            auto sheet = std::make_unique<OdsWorksheet>(book, entry.name, entry.visibility);
            TableReader reader(place, book, *formats_, *sheet);
            switch (scanTable(table, next, reader, *sheet, place, book, halves, ahead)) {
                case Scanned::Read:
                    return sheet;
                case Scanned::LeftToExpat:
                    return nullptr;
                case Scanned::ReadAlone:
                    break;
            }
        }
    }

    void taken(TablePath path) {
        if (options_.pathsTaken != nullptr) options_.pathsTaken->push_back(path);
    }

    // The next bytes of content.xml, from the position reached so far; empty at its end.
    std::string_view nextBytes() {
        if (chunk_.empty()) chunk_ = content_->next();
        return chunk_;
    }
    void advance(std::size_t n) {
        chunk_.remove_prefix(n);
        position_ += n;
    }
    // Reads content.xml again, from its start or from a later position.
    void restart(std::uint64_t from = 0,
                 ZipArchive::Inflating inflating = ZipArchive::Inflating::Ahead) {
        content_.reset();  // one entry is read at a time
        content_ = source_->stream(kContentPart, from, inflating);
        inflating_ = inflating;
        chunk_ = {};
        position_ = from;
    }

    // Whether the table is read in two halves at once, when halves are allowed: when it is
    // closed and large enough for a second thread to pay.
    bool halvable(const TablePlace& table, bool halves) const {
        return halves && table.closed && table.bodyEnd - table.bodyStart >= options_.halvedSize;
    }
    // How content.xml is inflated for the table: on the reading thread for a table read in
    // halves, whose second half keeps the other core busy (a third thread would slow the half
    // that has none, and the table waits on it), ahead of the reading otherwise.
    ZipArchive::Inflating inflatingFor(const TablePlace& table, bool halves) const {
        return halvable(table, halves) ? ZipArchive::Inflating::OnCaller
                                       : ZipArchive::Inflating::Ahead;
    }

    enum class Scanned {
        Read,
        LeftToExpat,
        // A limit was reached while a second half held part of the budgets: the table is read
        // again by one thread, which reaches that limit, or not, as it would have alone.
        ReadAlone,
    };

    // Reads the table's content with the scanner, forward from where the last table ended, a
    // large one in two halves at once when `halves`.
    // next: the table after it, whose first bytes are made ready once this one is read in halves.
    // ahead: for the first table read while the outline goes on, of which `known` may hold the
    // start only; it tells the table's whole place once the outline has found its end, and is
    // told how far the reading has got, so that the rest is halved from there. Null once the
    // end is known.
    Scanned scanTable(const TablePlace& known, const TablePlace* next, TableReader& reader,
                      OdsWorksheet& sheet, const ReadErrorPlace& place, const WorkbookData& book,
                      bool halves, FirstTableAhead* ahead) {
        TablePlace table = known;
        const ZipArchive::Inflating inflating = inflatingFor(table, halves);
        if (!content_ || position_ > table.bodyStart || inflating_ != inflating)
            restart(table.bodyStart, inflating);
        TableBodyScanner scanner(reader);
        xml::ChunkedScan<TableBodyScanner> chunks(scanner);
        bool mayHalve = ahead == nullptr && halvable(table, halves);
        std::unique_ptr<SecondHalf> half;
        std::uint64_t split = 0;  // where the half begins, once known
        try {
            for (;;) {
                if (ahead != nullptr) {
                    ahead->readTo(position_);
                    if (const auto whole = ahead->ended()) {
                        table = *whole;
                        ahead = nullptr;
                        // The split was placed in what was left to read, which the reading may
                        // just have passed.
                        mayHalve = halvable(table, halves) && table.split > position_;
                    }
                }
                if (ahead == nullptr && position_ >= table.bodyEnd) break;
                // Where a second half would look for its start.
                const std::uint64_t halfFrom = table.split;
                // The second half begins once the first row has: the columns come before it.
                if (mayHalve && (reader.rowsBegun() || position_ >= halfFrom)) {
                    mayHalve = false;
                    auto twin = reader.rowsBegun() ? archive_->twin() : nullptr;
                    try {
                        if (twin) {
                            half = std::make_unique<SecondHalf>(std::move(twin), table, halfFrom,
                                                                place, book, *formats_, reader);
                            halved_ = true;
                        }
                    } catch (const std::system_error&) {
                        // No thread to be had: one reads it all.
                    }
                }
                if (half && split == 0 && position_ >= halfFrom) {
                    split = half->start().value_or(0);
                    if (split == 0) half.reset();
                }
                // Until the first row begins, the bytes are taken a few at a time.
                const std::uint64_t limit = split != 0 ? split
                                            : half     ? halfFrom
                                            : mayHalve
                                                ? std::min(halfFrom, position_ + kFirstRowStep)
                                            : ahead == nullptr ? table.bodyEnd
                                                               : UINT64_MAX;
                const std::string_view bytes = nextBytes();
                if (bytes.empty()) return Scanned::LeftToExpat;
                if (position_ < table.bodyStart) {
                    advance(static_cast<std::size_t>(
                        std::min<std::uint64_t>(bytes.size(), table.bodyStart - position_)));
                    continue;
                }
                const auto n = static_cast<std::size_t>(
                    std::min<std::uint64_t>(bytes.size(), limit - position_));
                if (const auto rest = chunks.feed(bytes.substr(0, n))) {
                    // An end tag that closes the table before its end is malformed; while the
                    // end is not known, the outline must find it at that tag.
                    if (ahead == nullptr) return Scanned::LeftToExpat;
                    const std::uint64_t endTag =
                        position_ + n - rest->carried.size() - rest->chunk.size();
                    const auto whole = ahead->waitEnded();
                    if (!whole || whole->bodyEnd != endTag) return Scanned::LeftToExpat;
                    advance(n);
                    reader.finish();
                    return Scanned::Read;
                }
                advance(n);
                if (split != 0 && position_ == split) {
                    if (joinHalf(*half, chunks, scanner, reader, sheet)) {
                        reader.finish();
                        if (options_.halvesJoined != nullptr) ++*options_.halvesJoined;
                        // The next table is read from the nearest kept point.
                        if (next != nullptr)
                            restart(next->bodyStart, inflatingFor(*next, true));
                        else
                            content_.reset();
                        return Scanned::Read;
                    }
                    half.reset();  // read on alone
                    split = 0;
                }
            }
            if (chunks.finish()) return Scanned::LeftToExpat;
        } catch (const UnsupportedTableMarkup&) {
            return Scanned::LeftToExpat;
        } catch (const xml::TokenTooLong&) {
            return Scanned::LeftToExpat;
        } catch (const ReadError& e) {
            const bool limit =
                e.kind() == ReadErrorKind::TooManyCells || e.kind() == ReadErrorKind::TooLarge;
            if (half && limit) return Scanned::ReadAlone;
            throw;
        }
        if (chunks.carrying() || !scanner.balanced() || !table.closed) return Scanned::LeftToExpat;
        reader.finish();
        return Scanned::Read;
    }

    // At the second half's start: its cells are moved after the first half's when the first
    // half ends there between rows, with nothing left but white space between them, the columns
    // have not changed since the half began, and the half read to the table's end and fits
    // the sheet's limits and the workbook's budgets after the first.
    static bool joinHalf(SecondHalf& half, const xml::ChunkedScan<TableBodyScanner>& chunks,
                         const TableBodyScanner& scanner, const TableReader& reader,
                         OdsWorksheet& sheet) {
        const std::string_view carried = chunks.carried();
        const bool spaceOnly = std::all_of(carried.begin(), carried.end(), [](char c) {
            return c == ' ' || c == '\t' || c == '\n' || c == '\r';
        });
        if (!spaceOnly || !scanner.balanced() || reader.columnElements() != half.columnsAtStart() ||
            !half.read())
            return false;
        half.giveBack();
        if (!reader.grid().canFollow(half.reader().grid()) || !sheet.canTake(half.sheet()))
            return false;
        sheet.appendAll(half.sheet(), static_cast<std::int32_t>(reader.grid().nextRow() - 1));
        return true;
    }

    // Reads the table with expat: cut out of content.xml when its place is known, else the whole
    // part.
    void parseTable(std::size_t index, TableReader& reader, const ReadErrorPlace& place) {
        if (places_.empty()) {
            content_.reset();
            ContentHandler handler(reader, index);
            xml::parseXmlPart(*archive_, kContentPart, handler);
            return;
        }
        const TablePlace& table = places_.at(index);
        restart();
        // Messages name the line in content.xml.
        std::uint64_t line = 1;
        bool cr = false;
        while (position_ < table.tagStart) {
            const std::string_view bytes = nextBytes();
            const auto n = static_cast<std::size_t>(
                std::min<std::uint64_t>(bytes.size(), table.tagStart - position_));
            line += lineEnds(bytes.substr(0, n), cr);
            advance(n);
        }
        ContentHandler handler(reader, 0);
        xml::XmlStream stream(handler, line);
        auto feed = [&](const char* data, std::size_t size, bool last) {
            if (!stream.feed(data, size, last))
                throw ReadError(ReadErrorKind::DamagedXml, place, stream.error());
        };
        while (position_ < table.end) {
            const std::string_view bytes = nextBytes();
            if (bytes.empty()) break;
            const auto n = static_cast<std::size_t>(
                std::min<std::uint64_t>(bytes.size(), table.end - position_));
            feed(bytes.data(), n, false);
            advance(n);
        }
        feed(nullptr, 0, true);
    }

    std::unique_ptr<ZipArchive> archive_;
    ZipArchive* source_ = archive_.get();  // what content.xml is read through
    PasswordSource* passwords_;
    OdsReadOptions options_;
    std::vector<TablePlace> places_;
    std::optional<StyleFormats> formats_;
    std::unique_ptr<OdsWorksheet> firstSheet_;  // read with the outline, until asked for
    bool halved_ = false;                       // a table was read in two halves
    // content.xml as far as the tables have been read.
    std::unique_ptr<PartStream> content_;
    ZipArchive::Inflating inflating_ = ZipArchive::Inflating::Ahead;  // of content_
    std::string_view chunk_;  // the rest of its current chunk
    std::uint64_t position_ = 0;
};

}  // namespace

std::unique_ptr<Workbook> readOds(std::unique_ptr<ZipArchive> archive, PasswordSource* passwords,
                                  const OdsReadOptions& options) {
    std::string path = archive->path();
    return openWorkbook(std::move(path),
                        std::make_unique<OdsReader>(std::move(archive), passwords, options));
}

}  // namespace tabulon::workbook::ods
