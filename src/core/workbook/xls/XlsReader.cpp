// Reading a BIFF workbook stream: the globals substream, then each worksheet substream on demand.
#include "core/workbook/xls/XlsReader.h"

#include <optional>
#include <vector>

#include "core/workbook/ReadError.h"
#include "core/workbook/StoredWorkbook.h"
#include "core/workbook/WorkbookBytes.h"
#include "core/workbook/WorkbookReader.h"
#include "core/workbook/xls/BiffDecryption.h"
#include "core/workbook/xls/BiffRecords.h"
#include "core/workbook/xls/BookRecords.h"
#include "core/workbook/xls/RecordCursor.h"
#include "core/workbook/xls/SheetReader.h"

namespace tabulon::workbook::xls {

namespace {

struct SheetEntry {
    std::string name;
    std::size_t position = 0;  // of the sheet's BOF record in the stream
    SheetVisibility visibility = SheetVisibility::Visible;
    bool worksheet = true;  // false for chart, macro and module sheets
};

SheetVisibility visibilityOf(std::uint8_t state) {
    switch (state & 0x03) {
        case 1:
            return SheetVisibility::Hidden;
        case 2:
            return SheetVisibility::VeryHidden;
        default:
            return SheetVisibility::Visible;
    }
}

void readSharedStrings(const BiffRecord& sst, BiffStream& stream, StringPool& strings) {
    RecordCursor cursor(sst.data);
    BiffRecord more;
    while (stream.peekType() == record::kContinue && stream.next(more))
        cursor.addContinuation(more.data);
    cursor.skip(4);  // total count of uses
    const std::uint32_t unique = cursor.u32();
    for (std::uint32_t i = 0; i < unique && !cursor.atEnd(); ++i)
        strings.add(cursor.unicodeString(cursor.u16()));
    strings.shrinkToFit();
}

std::vector<SheetEntry> readGlobals(BiffStream& stream, BookState& book) {
    std::vector<SheetEntry> sheets;
    BiffRecord record;
    while (stream.next(record)) {
        if (record.type == record::kEof) return sheets;
        if (readBookRecord(record, book)) continue;
        if (record.type == record::kBoundSheet) {
            RecordCursor cursor(record.data);
            SheetEntry entry;
            entry.position = cursor.u32();
            entry.visibility = visibilityOf(cursor.u8());
            entry.worksheet = cursor.u8() == 0;
            entry.name = readText(cursor, book, 1);
            sheets.push_back(std::move(entry));
        } else if (record.type == record::kSst && book.version == BiffVersion::Biff8) {
            readSharedStrings(record, stream, book.data.sharedStrings);
        }
    }
    throw BiffDamage("the workbook's globals end without an EOF record");
}

// Dialog sheets are stored like worksheets; a flag in their WSBOOL record tells them apart.
bool isDialogSheet(BiffStream stream) {
    BiffRecord record;
    while (stream.next(record)) {
        if (record.type == record::kWsBool)
            return record.data.size() >= 1 && (record.data[0] & 0x10) != 0;
        if (record.type == record::kEof || record.type == record::kDimension) break;
    }
    return false;
}

// The records of one substream up to its EOF; those of substreams nested in it (embedded
// charts) are passed over.
template <class Take>
void readSubstream(BiffStream& stream, Take&& take) {
    int depth = 1;
    BiffRecord record;
    BofInfo nested;
    while (stream.next(record)) {
        if (readBof(record, nested)) {
            ++depth;
        } else if (record.type == record::kEof) {
            if (--depth == 0) return;
        } else if (depth == 1) {
            take(record);
        }
    }
    throw BiffDamage("a sheet ends without an EOF record");
}

// A BIFF stream read on demand: the globals when the workbook opens, each worksheet substream
// when it is asked for. A bare BIFF2-4 worksheet keeps its formats among its cells, so it is read
// whole when it opens.
class BiffReader : public WorkbookReader {
  public:
    BiffReader(std::string path, std::vector<unsigned char> bytes, bool decrypted)
        : path_(std::move(path)), bytes_(std::move(bytes)), decrypted_(decrypted) {}

    std::vector<WorksheetEntry> open(WorkbookData& data) override {
        try {
            BiffStream stream(bytes_);
            BiffRecord bof;
            BofInfo info;
            if (!stream.next(bof) || !readBof(bof, info))
                throw ReadError(ReadErrorKind::NotAWorkbook, placeInFile(path_));
            book_.emplace(path_, info.version, data);
            book_->decrypted = decrypted_;
            const bool modern =
                info.version == BiffVersion::Biff5 || info.version == BiffVersion::Biff8;
            if (modern && info.substream == kWorkbookGlobals) {
                const auto sheets = readGlobals(stream, *book_);
                data.cellFormats = book_->formats.compile();
                return findWorksheets(stream, sheets, stream.position());
            }
            if (info.substream == kWorksheet) return {readBareWorksheet(stream, data)};
            throw ReadError(ReadErrorKind::UnsupportedFormat, placeInFile(path_),
                            "Excel 4.0 workbook (.xlw)");
        } catch (const BiffDamage& e) {
            throw ReadError(ReadErrorKind::DamagedRecords, placeInFile(path_), e.what());
        }
    }

    std::unique_ptr<StoredWorksheet> readWorksheet(std::size_t index, const WorksheetEntry& entry,
                                                   const WorkbookData& data) override {
        if (bare_) return std::move(bare_);
        auto sheet = std::make_unique<StoredWorksheet>(data, entry.name, entry.visibility);
        try {
            BiffStream stream(bytes_);
            stream.seek(positions_.at(index));
            BiffRecord bof;
            stream.next(bof);  // checked when the workbook opened
            SheetReader reader(*book_, data, *sheet);
            readSubstream(stream, [&](const BiffRecord& record) { reader.take(record, stream); });
            reader.finish();
        } catch (const BiffDamage& e) {
            throw ReadError(ReadErrorKind::DamagedRecords, placeInFile(path_, entry.name),
                            e.what());
        }
        return sheet;
    }

  private:
    // The entries that are worksheets, each checked to start with a worksheet's BOF record after
    // the globals (globalsEnd: where they end); chart, macro, module and dialog sheets are passed
    // over.
    std::vector<WorksheetEntry> findWorksheets(BiffStream& stream,
                                               const std::vector<SheetEntry>& sheets,
                                               std::size_t globalsEnd) {
        std::vector<WorksheetEntry> worksheets;
        for (const SheetEntry& entry : sheets) {
            if (!entry.worksheet) continue;
            try {
                if (entry.position < globalsEnd)
                    throw BiffDamage("the sheet's entry points into the workbook globals");
                stream.seek(entry.position);
                BiffRecord bof;
                BofInfo info;
                if (!stream.next(bof) || !readBof(bof, info))
                    throw BiffDamage("a sheet does not start with a BOF record");
                if (info.substream == kWorkbookGlobals)
                    throw BiffDamage("the sheet's entry points into the workbook globals");
                if (info.substream != kWorksheet || isDialogSheet(stream)) continue;
            } catch (const BiffDamage& e) {
                throw ReadError(ReadErrorKind::DamagedRecords, placeInFile(path_, entry.name),
                                e.what());
            }
            worksheets.push_back({entry.name, entry.visibility});
            positions_.push_back(entry.position);
        }
        return worksheets;
    }

    WorksheetEntry readBareWorksheet(BiffStream& stream, WorkbookData& data) {
        const WorksheetEntry entry{"Sheet1", SheetVisibility::Visible};
        bare_ = std::make_unique<StoredWorksheet>(data, entry.name, entry.visibility);
        SheetReader reader(*book_, data, *bare_);
        readSubstream(stream, [&](const BiffRecord& record) {
            if (!readBookRecord(record, *book_)) reader.take(record, stream);
        });
        reader.finish();
        data.cellFormats = book_->formats.compile();
        return entry;
    }

    std::string path_;
    std::vector<unsigned char> bytes_;
    bool decrypted_;
    std::optional<BookState> book_;
    std::vector<std::size_t> positions_;     // of each worksheet's BOF record
    std::unique_ptr<StoredWorksheet> bare_;  // a bare worksheet, until it is asked for
};

}  // namespace

std::unique_ptr<Workbook> readBiffStream(const std::string& path, std::vector<unsigned char> stream,
                                         bool decrypted) {
    return openWorkbook(path, std::make_unique<BiffReader>(path, std::move(stream), decrypted));
}

std::unique_ptr<Workbook> readXls(const cfb::CompoundFile& file, PasswordSource* passwords) {
    auto stream = file.findRootStream("Workbook");
    if (!stream) stream = file.findRootStream("Book");
    if (!stream) throw ReadError(ReadErrorKind::NotAWorkbook, placeInFile(file.path()));
    std::vector<unsigned char> bytes = file.readStream(*stream);
    const bool decrypted = decryptBiffStream(file.path(), bytes, passwords);
    return readBiffStream(file.path(), std::move(bytes), decrypted);
}

std::unique_ptr<Workbook> readLegacyBiff(const std::string& path) {
    return readBiffStream(path, readWorkbookBytes(path));
}

}  // namespace tabulon::workbook::xls
