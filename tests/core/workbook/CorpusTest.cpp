// Real workbooks: every OOXML file of the shared corpus opens or gives a clear error, and the
// cells' Text is compared with the as-shown CSV that LibreOffice made of the same files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/workbook/CellReference.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::path(TABULON_SHARED_DIR) / "corpus";

bool isOoxmlName(const fs::path& file) {
    const std::string ext = file.extension().string();
    return ext == ".xlsx" || ext == ".xlsm" || ext == ".xltx" || ext == ".xltm";
}

std::vector<fs::path> corpusOoxmlFiles() {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kCorpus / "files", ec))
        if (isOoxmlName(entry.path())) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A CSV as LibreOffice writes it: comma separated, fields quoted where needed with doubled
// quotes inside, LF line ends, line breaks allowed inside quoted fields.
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    bool any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        any = true;
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            any = false;
        } else if (c != '\r') {
            field += c;
        }
    }
    if (any) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

// Line breaks inside cells: LibreOffice writes LF where the cell holds CR LF or CR.
std::string normalizedBreaks(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(CorpusTest, EveryOoxmlFileOpensOrGivesAClearError) {
    const auto files = corpusOoxmlFiles();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << kCorpus;
    int opened = 0;
    int refused = 0;
    for (const fs::path& file : files) {
        try {
            const auto book = readWorkbookFile(file.string());
            for (std::size_t i = 0; i < book->worksheetCount(); ++i) {
                const CellRange used = book->worksheet(i).usedRange();
                EXPECT_GE(used.lastRow, used.firstRow) << file.filename();
                EXPECT_GE(used.lastCol, used.firstCol) << file.filename();
            }
            ++opened;
        } catch (const ReadError& e) {
            // The description names the problem and ends with the file's path or its place.
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
            std::printf("refused %s: %s\n", file.filename().c_str(), e.what());
            ++refused;
        } catch (const std::exception& e) {
            ADD_FAILURE() << file.filename()
                          << ": an error without a reading error's form: " << e.what();
        }
    }
    std::printf("%d opened, %d refused of %zu\n", opened, refused, files.size());
    EXPECT_GT(opened, 60);
}

TEST(CorpusTest, ProtectedAndDamagedFilesSayWhatIsWrong) {
    const fs::path protectedFile = kCorpus / "files" / "calamine__pass_protected.xlsx";
    const fs::path damagedZip =
        kCorpus / "files" /
        "poi__clusterfuzz-testcase-minimized-XLSX2CSVFuzzer-5025401116950528.xlsx";
    const fs::path damagedXml = kCorpus / "files" / "poi__xlsx-corrupted.xlsx";
    if (!fs::exists(protectedFile)) GTEST_SKIP() << "no corpus at " << kCorpus;
    try {
        readWorkbookFile(protectedFile.string());
        ADD_FAILURE() << "protected file opened";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::PasswordProtected);
        EXPECT_EQ(std::string(e.what()),
                  "The workbook is password-protected: " + protectedFile.string());
    }
    try {
        readWorkbookFile(damagedZip.string());
        ADD_FAILURE() << "damaged file opened";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::DamagedContainer) << e.what();
        EXPECT_EQ(std::string(e.what()).rfind("The workbook is damaged", 0), 0u) << e.what();
    }
    try {
        readWorkbookFile(damagedXml.string());
        ADD_FAILURE() << "damaged file opened";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.kind(), ReadErrorKind::DamagedXml) << e.what();
    }
}

TEST(CorpusTest, ChartSheetsAreLeftOutOfTheWorksheets) {
    const fs::path file = kCorpus / "files" / "poi__WithChartSheet.xlsx";
    if (!fs::exists(file)) GTEST_SKIP() << "no corpus at " << kCorpus;
    const auto book = readWorkbookFile(file.string());
    std::vector<std::string> names;
    for (std::size_t i = 0; i < book->worksheetCount(); ++i)
        names.push_back(book->worksheet(i).name());
    EXPECT_EQ(names, (std::vector<std::string>{"Sheet1", "Sheet6", "Sheet5", "Sheet4", "Sheet3",
                                               "Sheet2"}));
}

struct Agreement {
    long compared = 0;
    long equal = 0;
    std::string firstDifference;
};

// Compares every cell that is not empty on at least one side.
void compareSheet(const Worksheet& sheet, const std::vector<std::vector<std::string>>& expected,
                  Agreement& agreement) {
    const CellRange used = sheet.usedRange();
    std::int32_t rows =
        std::max<std::int32_t>(used.lastRow, static_cast<std::int32_t>(expected.size()));
    std::int32_t cols = used.lastCol;
    for (const auto& row : expected) cols = std::max(cols, static_cast<std::int32_t>(row.size()));
    for (std::int32_t r = 1; r <= rows; ++r) {
        for (std::int32_t c = 1; c <= cols; ++c) {
            const std::string ours = normalizedBreaks(sheet.text(r, c));
            std::string theirs;
            if (static_cast<std::size_t>(r) <= expected.size() &&
                static_cast<std::size_t>(c) <= expected[r - 1].size())
                theirs = normalizedBreaks(expected[r - 1][c - 1]);
            if (ours.empty() && theirs.empty()) continue;
            ++agreement.compared;
            if (ours == theirs) {
                ++agreement.equal;
            } else if (agreement.firstDifference.empty()) {
                agreement.firstDifference = sheet.name() + "!" + cellName(r, c) + ": ours \"" +
                                            ours + "\", LibreOffice \"" + theirs + "\"";
            }
        }
    }
}

// The cells that still differ are mostly LibreOffice's own doing: pivot tables that it lays out
// afresh, volatile formulas and dynamic arrays that it recalculates, General numbers shown with up
// to 15 digits, and dates before March 1900 a day early.
constexpr double kAgreementFloor = 0.99;

TEST(CorpusTest, CellTextAgreesWithLibreOfficesAsShownOutput) {
    std::ifstream index(kCorpus / "REFERENCE-LO.tsv");
    if (!index) GTEST_SKIP() << "no corpus at " << kCorpus;
    std::string line;
    std::getline(index, line);  // header
    Agreement overall;
    while (std::getline(index, line)) {
        std::istringstream fields(line);
        std::string file, status;
        std::getline(fields, file, '\t');
        std::getline(fields, status, '\t');
        if (status != "ok" || !isOoxmlName(file)) continue;
        std::unique_ptr<Workbook> book;
        try {
            book = readWorkbookFile((kCorpus / "files" / file).string());
        } catch (const ReadError& e) {
            std::printf("%-60s not read: %s\n", file.c_str(), e.what());
            continue;
        }
        Agreement agreement;
        const std::string stem = fs::path(file).stem().string();
        for (std::size_t i = 0; i < book->worksheetCount(); ++i) {
            const Worksheet& sheet = book->worksheet(i);
            const fs::path csv =
                kCorpus / "reference-lo" / file / (stem + "-" + sheet.name() + ".csv");
            if (!fs::exists(csv)) continue;
            compareSheet(sheet, parseCsv(readFile(csv)), agreement);
        }
        overall.compared += agreement.compared;
        overall.equal += agreement.equal;
        const double share =
            agreement.compared == 0 ? 1.0 : double(agreement.equal) / agreement.compared;
        std::printf("%-60.60s %6ld/%6ld %6.2f%% %s\n", file.c_str(), agreement.equal,
                    agreement.compared, 100 * share,
                    agreement.firstDifference.substr(0, 120).c_str());
    }
    ASSERT_GT(overall.compared, 0);
    const double share = double(overall.equal) / overall.compared;
    std::printf("overall: %ld of %ld cells agree (%.2f%%)\n", overall.equal, overall.compared,
                100 * share);
    EXPECT_GE(share, kAgreementFloor);
}

}  // namespace
}  // namespace tabulon::workbook
