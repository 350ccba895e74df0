// Reading a BIFF workbook stream: the globals substream, then each worksheet substream.
#include "core/workbook/xls/XlsReader.h"

#include <fstream>
#include <vector>

#include "core/workbook/ReadError.h"
#include "core/workbook/ReadLimits.h"
#include "core/workbook/StoredWorkbook.h"
#include "core/workbook/crypto/BiffDecryption.h"
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

// globalsEnd: where the workbook globals substream ends; no sheet starts before it.
void readSheets(BiffStream& stream, const std::vector<SheetEntry>& sheets, BookState& book,
                StoredWorkbook& workbook, std::size_t globalsEnd) {
    std::uint64_t cellBudget = kMaxCells;
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
            StoredWorksheet& sheet = workbook.addWorksheet(entry.name, entry.visibility);
            SheetReader reader(book, sheet, cellBudget);
            readSubstream(stream, [&](const BiffRecord& record) { reader.take(record, stream); });
            reader.finish();
        } catch (const BiffDamage& e) {
            throw ReadError(ReadErrorKind::DamagedRecords, {book.path, {}, entry.name, {}},
                            e.what());
        }
    }
}

void readBareWorksheet(BiffStream& stream, BookState& book, StoredWorkbook& workbook) {
    std::uint64_t cellBudget = kMaxCells;
    StoredWorksheet& sheet = workbook.addWorksheet("Sheet1", SheetVisibility::Visible);
    SheetReader reader(book, sheet, cellBudget);
    readSubstream(stream, [&](const BiffRecord& record) {
        if (!readBookRecord(record, book)) reader.take(record, stream);
    });
    reader.finish();
}

}  // namespace

std::unique_ptr<Workbook> readBiffStream(const std::string& path,
                                         std::span<const unsigned char> bytes, bool decrypted) {
    auto workbook = std::make_unique<StoredWorkbook>();
    try {
        BiffStream stream(bytes);
        BiffRecord bof;
        BofInfo info;
        if (!stream.next(bof) || !readBof(bof, info))
            throw ReadError(ReadErrorKind::NotAWorkbook, {path, {}, {}, {}});
        BookState book(path, info.version, workbook->data());
        book.decrypted = decrypted;
        const bool modern =
            info.version == BiffVersion::Biff5 || info.version == BiffVersion::Biff8;
        if (modern && info.substream == kWorkbookGlobals) {
            const auto sheets = readGlobals(stream, book);
            workbook->data().cellFormats = book.formats.compile();
            readSheets(stream, sheets, book, *workbook, stream.position());
        } else if (info.substream == kWorksheet) {
            readBareWorksheet(stream, book, *workbook);
            workbook->data().cellFormats = book.formats.compile();
        } else {
            throw ReadError(ReadErrorKind::UnsupportedFormat, {path, {}, {}, {}},
                            "Excel 4.0 workbook (.xlw)");
        }
    } catch (const BiffDamage& e) {
        throw ReadError(ReadErrorKind::DamagedRecords, {path, {}, {}, {}}, e.what());
    }
    return workbook;
}

std::unique_ptr<Workbook> readXls(const cfb::CompoundFile& file, PasswordSource* passwords) {
    auto stream = file.findRootStream("Workbook");
    if (!stream) stream = file.findRootStream("Book");
    if (!stream) throw ReadError(ReadErrorKind::NotAWorkbook, {file.path(), {}, {}, {}});
    std::vector<unsigned char> bytes = file.readStream(*stream);
    const bool decrypted = crypto::decryptBiffStream(file.path(), bytes, passwords);
    return readBiffStream(file.path(), bytes, decrypted);
}

std::unique_ptr<Workbook> readLegacyBiff(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw ReadError(ReadErrorKind::CannotRead, {path, {}, {}, {}}, "it cannot be opened");
    const auto size = static_cast<std::uint64_t>(in.tellg());
    if (size > kMaxDecompressedBytes)
        throw ReadError(ReadErrorKind::TooLarge, {path, {}, {}, {}}, "the file's size");
    std::vector<unsigned char> bytes(size);
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        throw ReadError(ReadErrorKind::CannotRead, {path, {}, {}, {}}, "a read failed");
    return readBiffStream(path, bytes);
}

}  // namespace tabulon::workbook::xls
