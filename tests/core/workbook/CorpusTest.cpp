// Every workbook of the shared corpus, one format at a time: each opens or is refused with the
// error that it is known for, and the cells' Text agrees with the as-shown CSVs that LibreOffice
// made of the same files except where LibreOfficeDifferences.tsv lists and explains a difference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "KnownDifferences.h"
#include "ReferenceCsv.h"
#include "SharedData.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;

using ::tabulon::testing::Difference;
using ::tabulon::testing::kCorpus;
using ::tabulon::testing::KnownDifferences;

const fs::path kKnownDifferences =
    fs::path(TABULON_SOURCE_DIR) / "tests" / "core" / "workbook" / "LibreOfficeDifferences.tsv";

struct CorpusFormat {
    std::string name;
    std::vector<std::string> extensions;
    // The files of the format that are refused, with the kind of error; every other one opens.
    std::map<std::string, ReadErrorKind> refused;

    bool takes(const std::string& file) const {
        const std::string extension = fs::path(file).extension().string();
        return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
    }
};

const CorpusFormat kOoxml{
    "Ooxml",
    {".xlsx", ".xlsm", ".xltx", ".xltm"},
    {{"calamine__pass_protected.xlsx", ReadErrorKind::PasswordProtected},
     {"poi__clusterfuzz-testcase-minimized-XLSX2CSVFuzzer-5025401116950528.xlsx",
      ReadErrorKind::DamagedContainer},
     // A zip's first entry without the directory that should follow.
     {"poi__clusterfuzz-testcase-minimized-XLSX2CSVFuzzer-6594557414080512.xlsx",
      ReadErrorKind::DamagedContainer},
     {"poi__openxml4j_invalid.xlsx", ReadErrorKind::NotAWorkbook},
     {"poi__poc-shared-strings.xlsx", ReadErrorKind::CellOutOfBounds},
     {"poi__poc-xmlbomb.xlsx", ReadErrorKind::DamagedXml},
     // Its encrypted package stream is cut short in the file itself.
     {"poi__poifs_extenxls_pwd123.xlsx", ReadErrorKind::DamagedContainer},
     {"poi__protected_passtika.xlsx", ReadErrorKind::PasswordProtected},
     {"poi__xlsx-corrupted.xlsx", ReadErrorKind::DamagedXml}}};

const CorpusFormat kXls{"Xls",
                        {".xls"},
                        {{"calamine__too_small.xls", ReadErrorKind::NotAWorkbook},
                         {"poi__clusterfuzz-testcase-minimized-POIHSSFFuzzer-4819588401201152.xls",
                          ReadErrorKind::DamagedContainer},
                         {"poi__password.xls", ReadErrorKind::PasswordProtected}}};

const CorpusFormat kXlsb{
    "Xlsb", {".xlsb"}, {{"calamine__pass_protected.xlsb", ReadErrorKind::PasswordProtected}}};

const CorpusFormat kOds{
    "Ods", {".ods"}, {{"calamine__pass_protected.ods", ReadErrorKind::PasswordProtected}}};

void PrintTo(const CorpusFormat& format, std::ostream* out) { *out << format.name; }

class CorpusTest : public ::testing::TestWithParam<CorpusFormat> {};

TEST_P(CorpusTest, EveryFileOpensOrIsRefusedAsKnown) {
    TABULON_REQUIRE_SHARED(kCorpus / "files");
    const CorpusFormat& format = GetParam();
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kCorpus / "files"))
        if (format.takes(entry.path().string())) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());
    int opened = 0;
    for (const fs::path& file : files) {
        const std::string name = file.filename().string();
        const auto refusal = format.refused.find(name);
        try {
            const auto book = readWorkbookFile(file.string());
            for (std::size_t i = 0; i < book->worksheetCount(); ++i) {
                const CellRange used = book->worksheet(i).usedRange();
                EXPECT_GE(used.lastRow, used.firstRow) << name;
                EXPECT_GE(used.lastCol, used.firstCol) << name;
            }
            std::printf("opened  %-60.60s %zu worksheets\n", name.c_str(), book->worksheetCount());
            EXPECT_EQ(refusal, format.refused.end()) << name << " opened";
            ++opened;
        } catch (const ReadError& e) {
            std::printf("refused %-60.60s %s\n", name.c_str(), e.what());
            // The description names the problem and ends with the file's path or its place.
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
            if (refusal == format.refused.end())
                ADD_FAILURE() << name << " refused: " << e.what();
            else
                EXPECT_EQ(e.kind(), refusal->second) << e.what();
        } catch (const std::exception& e) {
            ADD_FAILURE() << name << ": an error without a reading error's form: " << e.what();
        }
    }
    std::printf("%d of %zu opened\n", opened, files.size());
    EXPECT_EQ(static_cast<std::size_t>(opened) + format.refused.size(), files.size());
}

TEST_P(CorpusTest, CellTextAgreesWithLibreOfficeButForKnownDifferences) {
    TABULON_REQUIRE_SHARED(kCorpus / "REFERENCE-LO.tsv");
    const CorpusFormat& format = GetParam();
    const testing::Agreement overall =
        testing::compareCorpus([&](const std::string& file) { return format.takes(file); });
    ASSERT_GT(overall.compared, 0);
    testing::printOverall(overall);
    KnownDifferences(kKnownDifferences).check(overall.differences, [&](const Difference& row) {
        return format.takes(row.file);
    });
}

INSTANTIATE_TEST_SUITE_P(Formats, CorpusTest, ::testing::Values(kOoxml, kXls, kXlsb, kOds),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tabulon::workbook
