// Reading an OpenDocument package: the manifest for encryption and styles.xml when it opens, then
// content.xml once to find its tables, and again, forward, for the cells of each table.
#include "core/workbook/ods/OdsReader.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <system_error>

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

// The first table read from the chunks of the outline's reading of content.xml, while the outline
// is made on the stream's watching thread: it is kept when the scanner read it to the end of its
// content with the styles and date system that hold for all tables.
class FirstTable : public FirstTableReader {
  public:
    FirstTable(const std::string& path, WorkbookData& book, const OdsStyles& styles,
               std::optional<StyleFormats>& formats)
        : path_(path), book_(book), styles_(styles), formats_(formats) {}
    ~FirstTable() override { letGo(); }

    void firstTableStarts(const WorksheetEntry& table, bool date1904) override {
        entry_ = table;
        book_.date1904 = date1904;
        formats_.emplace(styles_, book_.cellFormats);
    }

    void take(std::string_view chunk, std::uint64_t offset,
              std::optional<std::uint64_t> content) override {
        if (over_ || !content || *content >= offset + chunk.size()) return;
        try {
            if (!sheet_) {
                sheet_ = std::make_unique<OdsWorksheet>(book_, entry_.name, entry_.visibility);
                reader_.emplace(ReadErrorPlace{path_, std::string(kContentPart), entry_.name, {}},
                                book_, *formats_, *sheet_);
                scanner_.emplace(*reader_);
                chunks_.emplace(*scanner_);
            }
            const auto from = static_cast<std::size_t>(*content > offset ? *content - offset : 0);
            if (const auto rest = chunks_->feed(chunk.substr(from))) {
                end_ = offset + chunk.size() - rest->chunk.size() - rest->carried.size();
                over_ = true;
            }
        } catch (const UnsupportedTableMarkup&) {
            letGo();
        } catch (const xml::TokenTooLong&) {
            letGo();
        } catch (const ReadError&) {
            letGo();  // the table says so again when it is asked for
        }
    }

    // The table, when it was read to the end of its content as the outline placed it.
    std::unique_ptr<OdsWorksheet> sheet(const TablePlace& place) {
        if (!over_ || !sheet_ || !place.closed || end_ != place.bodyEnd) {
            letGo();
            return nullptr;
        }
        reader_->finish();
        chunks_.reset();
        scanner_.reset();
        reader_.reset();
        return std::move(sheet_);
    }

  private:
    void letGo() {
        over_ = true;
        chunks_.reset();
        scanner_.reset();
        reader_.reset();
        sheet_.reset();
    }

    const std::string& path_;
    WorkbookData& book_;
    const OdsStyles& styles_;
    std::optional<StyleFormats>& formats_;
    WorksheetEntry entry_;
    std::unique_ptr<OdsWorksheet> sheet_;
    std::optional<TableReader> reader_;
    std::optional<TableBodyScanner> scanner_;
    std::optional<xml::ChunkedScan<TableBodyScanner>> chunks_;
    bool over_ = false;  // read to its end, or given up
    std::uint64_t end_ = 0;
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
        // The tables after the first are read from points that the outline's reading keeps.
        if (scanning) archive.keepPoints(kContentPart);
        FirstTable first(archive.path(), book, styles, formats_);
        ContentOutline outline =
            readContentOutline(archive, styles, book, scanning ? &first : nullptr);
        places_ = std::move(outline.places);
        const bool settled = !places_.empty() && outline.settledBeforeFirstTable;
        if (settled) firstSheet_ = first.sheet(places_.front());
        // Styles defined after the first table began, or content.xml read as a whole: the formats
        // come from all the styles.
        if (!settled || !formats_) formats_.emplace(styles, book.cellFormats);
        // The second table is inflated and its first bytes made ready while the first one is
        // exported.
        if (scanning && places_.size() > 1) restart(places_[1].bodyStart);
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
        const ReadErrorPlace place{archive_->path(), std::string(kContentPart), entry.name, {}};
        auto sheet = std::make_unique<OdsWorksheet>(book, entry.name, entry.visibility);
        if (!places_.empty() && options_.tablePath == TablePath::Scanner) {
            Scanned scanned = Scanned::ReadAlone;
            for (bool halves = true; scanned == Scanned::ReadAlone; halves = false) {
                if (!halves)
                    sheet = std::make_unique<OdsWorksheet>(book, entry.name, entry.visibility);
                TableReader reader(place, book, *formats_, *sheet);
                scanned = scanTable(index, reader, *sheet, place, book, halves);
            }
            if (scanned == Scanned::Read) {
                taken(TablePath::Scanner);
                return sheet;
            }
            // Start again from nothing: expat decides what the table holds.
            sheet = std::make_unique<OdsWorksheet>(book, entry.name, entry.visibility);
        }
        TableReader reader(place, book, *formats_, *sheet);
        parseTable(index, reader, place);
        reader.finish();
        taken(TablePath::Expat);
        return sheet;
    }

  private:
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
    void restart(std::uint64_t from = 0) {
        content_.reset();  // one entry is read at a time
        content_ = archive_->stream(kContentPart, from);
        chunk_ = {};
        position_ = from;
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
    Scanned scanTable(std::size_t index, TableReader& reader, OdsWorksheet& sheet,
                      const ReadErrorPlace& place, const WorkbookData& book, bool halves) {
        const TablePlace& table = places_.at(index);
        if (!content_ || position_ > table.bodyStart) restart(table.bodyStart);
        TableBodyScanner scanner(reader);
        xml::ChunkedScan<TableBodyScanner> chunks(scanner);
        const std::uint64_t middle = table.bodyStart + (table.bodyEnd - table.bodyStart) / 2;
        bool mayHalve =
            halves && table.closed && table.bodyEnd - table.bodyStart >= options_.halvedSize;
        std::unique_ptr<SecondHalf> half;
        std::size_t columns = 0;  // read when the half began
        std::uint64_t split = 0;  // where the half begins, once known
        try {
            while (position_ < table.bodyEnd) {
                // The second half begins once the first row has: the columns come before it.
                if (mayHalve && (reader.rowsBegun() || position_ >= middle)) {
                    mayHalve = false;
                    auto twin = reader.rowsBegun() ? archive_->twin() : nullptr;
                    try {
                        if (twin)
                            half = std::make_unique<SecondHalf>(std::move(twin), table, middle,
                                                                place, book, *formats_, reader);
                    } catch (const std::system_error&) {
                        // No thread to be had: one reads it all.
                    }
                    columns = reader.columnElements();
                }
                if (half && split == 0 && position_ >= middle) {
                    split = half->start().value_or(0);
                    if (split == 0) half.reset();
                }
                // Until the first row begins, the bytes are taken a few at a time.
                const std::uint64_t limit = split != 0 ? split
                                            : half     ? middle
                                            : mayHalve ? std::min(middle, position_ + kFirstRowStep)
                                                       : table.bodyEnd;
                const std::string_view bytes = nextBytes();
                if (bytes.empty()) return Scanned::LeftToExpat;
                if (position_ < table.bodyStart) {
                    advance(static_cast<std::size_t>(
                        std::min<std::uint64_t>(bytes.size(), table.bodyStart - position_)));
                    continue;
                }
                const auto n = static_cast<std::size_t>(
                    std::min<std::uint64_t>(bytes.size(), limit - position_));
                // An end tag that closes the table before its end is malformed.
                if (chunks.feed(bytes.substr(0, n))) return Scanned::LeftToExpat;
                advance(n);
                if (split != 0 && position_ == split) {
                    if (joinHalf(*half, chunks, scanner, reader, columns, sheet)) {
                        reader.finish();
                        if (options_.halvesJoined != nullptr) ++*options_.halvesJoined;
                        // The next table is read from the nearest kept point.
                        if (index + 1 < places_.size())
                            restart(places_[index + 1].bodyStart);
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
                         std::size_t columns, OdsWorksheet& sheet) {
        const std::string_view carried = chunks.carried();
        const bool spaceOnly = std::all_of(carried.begin(), carried.end(), [](char c) {
            return c == ' ' || c == '\t' || c == '\n' || c == '\r';
        });
        if (!spaceOnly || !scanner.balanced() || !reader.atTableLevel() ||
            reader.columnElements() != columns || !half.read())
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
    PasswordSource* passwords_;
    OdsReadOptions options_;
    std::vector<TablePlace> places_;
    std::optional<StyleFormats> formats_;
    std::unique_ptr<OdsWorksheet> firstSheet_;  // read with the outline, until asked for
    // content.xml as far as the tables have been read.
    std::unique_ptr<PartStream> content_;
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
