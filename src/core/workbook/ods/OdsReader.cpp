// Reading an OpenDocument package: the manifest for encryption and styles.xml when it opens, then
// content.xml once to find its tables, and again, forward, for the cells of each table.
#include "core/workbook/ods/OdsReader.h"

#include <optional>

#include "core/workbook/StoredWorkbook.h"
#include "core/workbook/crypto/OdfDecryption.h"
#include "core/workbook/ods/ContentHandler.h"
#include "core/workbook/ods/ContentOutline.h"
#include "core/workbook/ods/OdsStyles.h"
#include "core/workbook/ods/StyleFormats.h"
#include "core/workbook/ods/TableBodyScanner.h"
#include "core/workbook/ods/TableReader.h"
#include "core/workbook/xml/ChunkedScan.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::ods {

namespace {

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

class OdsReader : public WorkbookReader {
  public:
    OdsReader(std::unique_ptr<ZipArchive> archive, PasswordSource* passwords,
              const OdsReadOptions& options)
        : archive_(std::move(archive)), passwords_(passwords), options_(options) {}

    std::vector<WorksheetEntry> open(WorkbookData& book) override {
        ZipArchive& archive = *archive_;
        const ReadErrorPlace place{archive.path(), {}, {}, {}};
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
        ContentOutline outline = readContentOutline(archive, styles, book);
        places_ = std::move(outline.places);
        formats_.emplace(styles, book.cellFormats);
        return std::move(outline.tables);
    }

    std::unique_ptr<StoredWorksheet> readWorksheet(std::size_t index, const WorksheetEntry& entry,
                                                   const WorkbookData& book) override {
        const ReadErrorPlace place{archive_->path(), std::string(kContentPart), entry.name, {}};
        auto sheet = std::make_unique<OdsWorksheet>(book, entry.name, entry.visibility);
        if (!places_.empty() && options_.tablePath == TablePath::Scanner) {
            const std::uint64_t cellsLeft = book.cellsLeft;
            if (scanTable(places_.at(index), TableReader(place, book, *formats_, *sheet))) {
                taken(TablePath::Scanner);
                return sheet;
            }
            // Start again from nothing: expat decides what the table holds.
            sheet = std::make_unique<OdsWorksheet>(book, entry.name, entry.visibility);
            book.cellsLeft = cellsLeft;
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
    // Reads content.xml from its start again.
    void restart() {
        content_.reset();  // one part is read at a time
        content_ = archive_->stream(kContentPart);
        chunk_ = {};
        position_ = 0;
    }

    // Reads the table's content with the scanner, forward from where the last table ended;
    // false when the scanner leaves it to expat.
    bool scanTable(const TablePlace& table, TableReader&& reader) {
        if (!content_ || position_ > table.bodyStart) restart();
        TableBodyScanner scanner(reader);
        xml::ChunkedScan<TableBodyScanner> chunks(scanner);
        try {
            while (position_ < table.bodyEnd) {
                const std::string_view bytes = nextBytes();
                if (bytes.empty()) return false;
                if (position_ < table.bodyStart) {
                    advance(static_cast<std::size_t>(
                        std::min<std::uint64_t>(bytes.size(), table.bodyStart - position_)));
                    continue;
                }
                const auto n = static_cast<std::size_t>(
                    std::min<std::uint64_t>(bytes.size(), table.bodyEnd - position_));
                chunks.feed(bytes.substr(0, n));
                advance(n);
            }
            chunks.finish();
        } catch (const UnsupportedTableMarkup&) {
            return false;
        } catch (const xml::TokenTooLong&) {
            return false;
        }
        if (chunks.carrying() || !scanner.balanced() || !table.closed) return false;
        reader.finish();
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
