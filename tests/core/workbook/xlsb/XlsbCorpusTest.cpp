// Real binary workbooks: the encrypted one says so, files saved in both formats read alike, and
// damaged copies open or give reading errors.
#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "SharedData.h"
#include "XlsxPackage.h"
#include "core/workbook/CellReference.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;

using ::tabulon::testing::kCorpus;

bool isXlsbName(const std::string& file) { return fs::path(file).extension() == ".xlsb"; }

std::vector<fs::path> corpusXlsbFiles() {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kCorpus / "files", ec))
        if (isXlsbName(entry.path().string())) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(XlsbCorpusTest, EncryptedXlsbIsPasswordProtected) {
    const fs::path file = kCorpus / "files" / "calamine__pass_protected.xlsb";
    TABULON_REQUIRE_SHARED(file);
    try {
        readWorkbookFile(file.string());
        ADD_FAILURE() << "encrypted file opened";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::PasswordProtected) << e.what();
    }
}

// The first cell whose text or value kind differs between the two sheets, as "B3: ...", or "".
std::string firstDifference(const Worksheet& a, const Worksheet& b) {
    const CellRange ua = a.usedRange();
    const CellRange ub = b.usedRange();
    for (std::int32_t r = std::min(ua.firstRow, ub.firstRow); r <= std::max(ua.lastRow, ub.lastRow);
         ++r) {
        for (std::int32_t c = std::min(ua.firstCol, ub.firstCol);
             c <= std::max(ua.lastCol, ub.lastCol); ++c) {
            if (a.text(r, c) != b.text(r, c) || a.value(r, c).kind != b.value(r, c).kind)
                return cellName(r, c) + ": \"" + a.text(r, c) + "\" against \"" + b.text(r, c) +
                       "\"";
        }
    }
    return {};
}

// The same content saved as .xlsb and in another format reads alike: worksheets, names, date
// system, used ranges, texts and value kinds. Siblings whose format the engine cannot read yet
// are named and passed over. OpenDocument siblings are left out: that format has no chart
// sheets, so a chart sheet comes back from it as a worksheet.
TEST(XlsbCorpusTest, SameContentInAnotherFormatReadsAlike) {
    TABULON_REQUIRE_SHARED(kCorpus / "files");
    const auto files = corpusXlsbFiles();
    int pairs = 0;
    for (const fs::path& file : files) {
        for (const char* extension : {".xlsx", ".xls"}) {
            const fs::path sibling = fs::path(file).replace_extension(extension);
            if (!fs::exists(sibling) || sibling.filename() == "calamine__pass_protected.xlsx")
                continue;
            std::unique_ptr<Workbook> other;
            try {
                other = readWorkbookFile(sibling.string());
            } catch (const ReadError& e) {
                if (e.kind() != ReadErrorKind::UnsupportedFormat) throw;
                std::printf("not compared with %s: %s\n", sibling.filename().c_str(), e.what());
                continue;
            }
            const auto book = readWorkbookFile(file.string());
            SCOPED_TRACE(file.filename().string() + " against " + sibling.filename().string());
            ++pairs;
            EXPECT_EQ(book->date1904(), other->date1904());
            ASSERT_EQ(book->worksheetCount(), other->worksheetCount());
            for (std::size_t i = 0; i < book->worksheetCount(); ++i) {
                const Worksheet& ours = book->worksheet(i);
                const Worksheet& theirs = other->worksheet(i);
                EXPECT_EQ(ours.name(), theirs.name());
                EXPECT_EQ(ours.visibility(), theirs.visibility());
                const CellRange a = ours.usedRange();
                const CellRange b = theirs.usedRange();
                EXPECT_TRUE(a.firstRow == b.firstRow && a.firstCol == b.firstCol &&
                            a.lastRow == b.lastRow && a.lastCol == b.lastCol)
                    << ours.name();
                EXPECT_EQ(firstDifference(ours, theirs), "") << ours.name();
            }
            std::printf("%s reads as %s does\n", file.filename().c_str(),
                        sibling.filename().c_str());
        }
    }
    EXPECT_GE(pairs, 4);
}

// Every part of a zip file by name.
std::vector<std::pair<std::string, std::string>> zipParts(const fs::path& file) {
    std::vector<std::pair<std::string, std::string>> parts;
    int error = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr) return parts;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_file_t* entry = zip_fopen_index(archive, i, 0);
        if (zip_stat_index(archive, i, 0, &stat) != 0 || entry == nullptr) continue;
        std::string bytes(stat.size, '\0');
        const zip_int64_t got = zip_fread(entry, bytes.data(), bytes.size());
        zip_fclose(entry);
        if (got >= 0) parts.emplace_back(stat.name, bytes.substr(0, static_cast<std::size_t>(got)));
    }
    zip_close(archive);
    return parts;
}

// Damaged copies of a real workbook: each binary part cut short at many places, or with bytes
// overwritten, opens or gives a reading error, and never crashes, hangs or runs out of memory.
TEST(XlsbCorpusTest, DamagedCopiesOpenOrGiveReadingErrors) {
    const fs::path file = kCorpus / "files" / "poi__testVarious.xlsb";
    TABULON_REQUIRE_SHARED(file);
    const auto parts = zipParts(file);
    ASSERT_FALSE(parts.empty());
    ::tabulon::testing::ScratchFolder folder;
    int opened = 0;
    int refused = 0;
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (std::size_t damaged = 0; damaged < parts.size(); ++damaged) {
        const std::string& name = parts[damaged].first;
        if (!name.ends_with(".bin") || name.find("vba") != std::string::npos) continue;
        for (int variant = 0; variant < 24; ++variant) {
            std::string bytes = parts[damaged].second;
            if (bytes.empty()) continue;
            if (variant < 8) {
                bytes.resize(bytes.size() * variant / 8 + next() % 7 % bytes.size());
            } else {
                for (int k = 0; k < variant / 4; ++k)
                    bytes[next() % bytes.size()] = static_cast<char>(next() >> 16);
            }
            ::tabulon::testing::XlsxPackage package;
            for (const auto& [partName, content] : parts)
                package.setPart(partName, partName == name ? bytes : content);
            const std::string path = folder.file("damaged.xlsb");
            package.write(path);
            try {
                readWorkbookFile(path);
                ++opened;
            } catch (const ReadError&) {
                ++refused;
            }
        }
    }
    std::printf("damaged copies: %d opened, %d refused\n", opened, refused);
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace tabulon::workbook
