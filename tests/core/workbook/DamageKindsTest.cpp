// One kind of damage gives one kind of error and one sentence, whichever reader meets it: a
// broken container, records cut short, strings longer than their records, and bad XML, each
// fed to every reader that can meet it.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "ReadWholeWorkbook.h"
#include "ScratchFolder.h"
#include "XlsxPackage.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"
#include "ods/OdsPackage.h"
#include "xls/BiffBuilder.h"
#include "xlsb/XlsbBuilder.h"

namespace tabulon::workbook {
namespace {

namespace biff = xls::testing;
namespace bin = tabulon::testing::xlsb;
using tabulon::testing::HandSheet;
using tabulon::testing::XlsxPackage;

std::uint32_t u32At(const std::string& s, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, &s[at], 4);
    return v;
}

void putU32(std::string& s, std::size_t at, std::uint32_t v) { std::memcpy(&s[at], &v, 4); }

std::string packageBytes(const XlsxPackage& package) {
    const tabulon::testing::ScratchFolder folder;
    const std::string path = folder.file("package.zip");
    package.write(path);
    return tabulon::testing::bytesOf(path);
}

// The package with the CRC that its central directory records for the entry changed.
std::string withBadCrc(const XlsxPackage& package, const std::string& entry) {
    std::string bytes = packageBytes(package);
    for (std::size_t at = bytes.find("PK\x01\x02"); at != std::string::npos;
         at = bytes.find("PK\x01\x02", at + 4)) {
        const std::size_t nameLength = static_cast<unsigned char>(bytes[at + 28]) |
                                       static_cast<unsigned char>(bytes[at + 29]) << 8;
        if (bytes.compare(at + 46, nameLength, entry) == 0) {
            putU32(bytes, at + 16, u32At(bytes, at + 16) ^ 1);
            return bytes;
        }
    }
    ADD_FAILURE() << entry << " is not in the package";
    return bytes;
}

// Compound files as the builder writes them: 512-byte sectors, the allocation table in sector 0.
std::uint32_t directorySector(const std::string& file) { return u32At(file, 0x30); }
std::uint32_t firstSectorOf(const std::string& file, std::size_t entry) {
    return u32At(file, 512 * (directorySector(file) + 1) + 128 * entry + 116);
}
// The file with the allocation table saying that next follows the sector.
std::string withNextSector(std::string file, std::uint32_t sector, std::uint32_t next) {
    putU32(file, 512 + 4 * std::size_t{sector}, next);
    return file;
}
// The file with the chain of the stream at that directory index (4096 bytes or more, so in
// regular sectors) leading back to its first sector.
std::string withCircularChain(const std::string& file, std::size_t entry) {
    const std::uint32_t first = firstSectorOf(file, entry);
    return withNextSector(file, first, first);
}

std::string xlsWithSheet(const std::vector<std::string>& globals,
                         const std::vector<std::string>& sheet) {
    return biff::compoundFile({{"Workbook", biff::workbookStream(globals, {{"S", sheet}})}});
}

// An agile encryption description (version 4.4) with this XML.
std::string agileDescription(const std::string& xml) {
    return biff::Bytes().u16(4).u16(4).u32(0x40).raw(xml);
}

XlsxPackage xlsxWithSheet(const std::string& sheetData) {
    return XlsxPackage::workbook({HandSheet("S", sheetData)});
}

XlsxPackage xlsbWithSheet(const std::string& records, const std::string& sharedStrings = {}) {
    return bin::binaryWorkbook({{"S", records}}, sharedStrings);
}

XlsxPackage odsWithTable(const std::string& table) {
    return testing::odsPackage("<table:table table:name=\"S\">" + table + "</table:table>");
}

const std::string kXlsNumber = biff::record(0x0203, biff::Bytes().u16(0).u16(0).u16(0).f64(1));
const std::string kXf =
    biff::record(0x00E0, biff::Bytes().u16(0).u16(0).raw(std::string(16, '\0')));
const std::string kXlsbRow = bin::row(0);

struct Damage {
    const char* name;
    std::string (*file)();
    ReadErrorKind kind;
    std::string sentence;  // the message up to the file's path
    std::string where;     // what follows the path
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.name; }

const Damage kDamages[] = {
    // The container: a compound file's sector chain, a zip part's checksum.
    {"XlsChainInACircle",
     [] {
         return withCircularChain(biff::compoundFile({{"Workbook", std::string(6000, 0)}}), 1);
     },
     ReadErrorKind::DamagedContainer,
     "The workbook is damaged (its compound file has a sector chain that runs in a circle)", ""},
    {"XlsDirectoryChainOutOfRange",
     [] {
         const std::string file = xlsWithSheet({kXf}, {kXlsNumber});
         return withNextSector(file, directorySector(file), 0x00FFFFFF);
     },
     ReadErrorKind::DamagedContainer,
     "The workbook is damaged (its compound file has a sector chain that leaves its allocation "
     "table)",
     ""},
    {"EncryptionDescriptionChainInACircle",
     [] {
         const std::string description = agileDescription("<encryption/>" + std::string(5000, ' '));
         return withCircularChain(biff::compoundFile({{"EncryptionInfo", description},
                                                      {"EncryptedPackage", std::string(16, 0)}}),
                                  1);
     },
     ReadErrorKind::DamagedContainer,
     "The workbook is damaged (its compound file has a sector chain that runs in a circle)", ""},
    {"XlsxPartChecksum", [] { return withBadCrc(xlsxWithSheet(""), "xl/workbook.xml"); },
     ReadErrorKind::DamagedContainer, "The workbook is damaged (xl/workbook.xml: CRC error)", ""},
    {"XlsbPartChecksum", [] { return withBadCrc(xlsbWithSheet(kXlsbRow), "xl/workbook.bin"); },
     ReadErrorKind::DamagedContainer, "The workbook is damaged (xl/workbook.bin: CRC error)", ""},
    {"OdsPartChecksum", [] { return withBadCrc(odsWithTable(""), "content.xml"); },
     ReadErrorKind::DamagedContainer, "The workbook is damaged (content.xml: CRC error)", ""},

    // A record shorter than its fields.
    {"XlsRecordCutShort", [] { return xlsWithSheet({kXf}, {biff::record(0x0203, "\1\0\1\0")}); },
     ReadErrorKind::DamagedRecords,
     "The workbook is damaged: bad records (a record is shorter than its fields)", ", sheet S"},
    {"XlsFilePassCutShort",
     [] {
         return xlsWithSheet({biff::record(0x002F, biff::Bytes().u16(1)), kXf}, {kXlsNumber});
     },
     ReadErrorKind::DamagedRecords,
     "The workbook is damaged: bad records (its FILEPASS record is cut short)", ""},
    {"XlsbRecordCutShort",
     [] { return packageBytes(xlsbWithSheet(kXlsbRow + bin::cell(5, 0, 0, bin::u32(1)))); },
     ReadErrorKind::DamagedRecords,
     "The workbook is damaged: bad records in xl/worksheets/sheet1.bin (record 5 is shorter than "
     "its content)",
     ", sheet S"},

    // A string longer than its record.
    {"XlsSharedStringCutShort",
     [] {
         const std::string sst =
             biff::record(0x00FC, biff::Bytes().u32(1).u32(1).u16(9).u8(0).raw("abc"));
         return xlsWithSheet({kXf, sst}, {kXlsNumber});
     },
     ReadErrorKind::DamagedRecords, "The workbook is damaged: bad records (a string is cut short)",
     ""},
    {"XlsbSharedStringCutShort",
     [] {
         return packageBytes(
             xlsbWithSheet(kXlsbRow, bin::record(19, bin::u8(0) + bin::u32(9) + "abc")));
     },
     ReadErrorKind::DamagedRecords,
     "The workbook is damaged: bad records in xl/sharedStrings.bin (a text in record 19 is "
     "longer than the record)",
     ""},

    // XML that does not parse.
    {"XlsxSheetXml", [] { return packageBytes(xlsxWithSheet("<row><c><v>1</v></row>")); },
     ReadErrorKind::DamagedXml,
     "The workbook is damaged: bad XML in xl/worksheets/sheet1.xml (mismatched tag at line 1)",
     ", sheet S"},
    {"OdsContentXml", [] { return packageBytes(odsWithTable("<table:table-row></table:table>")); },
     ReadErrorKind::DamagedXml,
     "The workbook is damaged: bad XML in content.xml (mismatched tag at line 1)", ", sheet S"},
    {"EncryptionDescriptionXml",
     [] {
         return biff::compoundFile({{"EncryptionInfo", agileDescription("<encryption></keyData>")},
                                    {"EncryptedPackage", std::string(16, '\0')}});
     },
     ReadErrorKind::DamagedXml,
     "The workbook is damaged: bad XML in EncryptionInfo (mismatched tag at line 1)", ""},
};

class DamageKindsTest : public ::testing::TestWithParam<Damage> {};

TEST_P(DamageKindsTest, TheKindAndSentenceFollowTheDamage) {
    const Damage& damage = GetParam();
    const tabulon::testing::ScratchFolder folder;
    const std::string path = folder.file("damaged");
    std::ofstream(path, std::ios::binary) << damage.file();
    try {
        tabulon::testing::readWholeWorkbook(path);
        ADD_FAILURE() << "the workbook opened";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), damage.kind);
        EXPECT_EQ(std::string(e.what()), damage.sentence + ": " + path + damage.where);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryReader, DamageKindsTest, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tabulon::workbook
