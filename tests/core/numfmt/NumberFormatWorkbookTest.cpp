// End to end: the cases written into xlsx workbooks and read back through the workbook engine,
// and the application's own workbooks read back with column A equal to our rendering.
#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>

#include "FormatCases.h"
#include "KnownDifferences.h"
#include "ScratchFolder.h"
#include "SharedData.h"
#include "core/numfmt/NumberFormat.h"
#include "core/workbook/Application.h"
#include "core/workbook/CellReference.h"

namespace tabulon::numfmt::testing {
namespace {

namespace fs = std::filesystem;

using ::tabulon::testing::Difference;
using ::tabulon::testing::KnownDifferences;
using ::tabulon::testing::kVectors;

// The workbooks that the cases are written into, one for each date system.
constexpr const char* kWorkbook1900 = "cases1900.xlsx";
constexpr const char* kWorkbook1904 = "cases1904.xlsx";

// Writes the cases into column A of one sheet, each cell with its number format.
void writeCases(const std::vector<const FormatCase*>& cases, const std::string& path) {
    lxw_workbook* book = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    std::map<std::string, lxw_format*> formats;
    lxw_row_t row = 0;
    for (const FormatCase* c : cases) {
        lxw_format*& format = formats[c->format];
        if (format == nullptr) {
            format = workbook_add_format(book);
            format_set_num_format(format, c->format.c_str());
        }
        if (c->valueType == 'n') {
            worksheet_write_number(sheet, row, 0, std::strtod(c->value.c_str(), nullptr), format);
        } else if (c->valueType == 'b') {
            worksheet_write_boolean(sheet, row, 0, c->value == "TRUE", format);
        } else {
            worksheet_write_string(sheet, row, 0, c->value.c_str(), format);
        }
        ++row;
    }
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

// libxlsxwriter has no 1904 option: set the flag in xl/workbook.xml afterwards.
void setDate1904(const std::string& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), 0, &error);
    ASSERT_NE(archive, nullptr);
    zip_stat_t stat;
    ASSERT_EQ(zip_stat(archive, "xl/workbook.xml", 0, &stat), 0);
    std::string xml(stat.size, '\0');
    zip_file_t* file = zip_fopen(archive, "xl/workbook.xml", 0);
    ASSERT_EQ(zip_fread(file, xml.data(), stat.size), static_cast<zip_int64_t>(stat.size));
    zip_fclose(file);
    const std::size_t at = xml.find("<workbookPr");
    ASSERT_NE(at, std::string::npos);
    xml.insert(at + 11, " date1904=\"1\"");
    static std::string kept;  // libzip reads the buffer when the archive closes
    kept = xml;
    zip_source_t* source = zip_source_buffer(archive, kept.data(), kept.size(), 0);
    ASSERT_GE(zip_file_add(archive, "xl/workbook.xml", source, ZIP_FL_OVERWRITE), 0);
    ASSERT_EQ(zip_close(archive), 0);
}

// Reads column A of the written workbook back through the engine; each case whose text differs
// is named by the workbook's file name and the case id.
void compareThroughEngine(const std::vector<const FormatCase*>& cases, const fs::path& path,
                          std::vector<Difference>& differences) {
    workbook::Application app;
    app.workbooks().open(path.string());
    const workbook::Worksheet& sheet = app.workbooks().item(1).worksheet(0);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const FormatCase& c = *cases[i];
        const std::string got = sheet.text(static_cast<std::int32_t>(i + 1), 1);
        if (got != c.expected)
            differences.push_back(
                {path.filename().string(), sheet.name(), c.id, got, c.expected, {}});
    }
}

bool isWrittenWorkbook(const Difference& row) {
    return row.file == kWorkbook1900 || row.file == kWorkbook1904;
}

TEST(NumberFormatWorkbookTest, CasesReadBackThroughTheWorkbookEngine) {
    TABULON_REQUIRE_SHARED(kVectors / "cases.tsv");
    const auto cases = loadFormatCases((kVectors / "cases.tsv").string(), "AB");
    ASSERT_FALSE(cases.empty());
    std::vector<const FormatCase*> system1900, system1904;
    for (const FormatCase& c : cases) (c.date1904 ? system1904 : system1900).push_back(&c);
    const ::tabulon::testing::ScratchFolder folder;
    writeCases(system1900, folder.file(kWorkbook1900));
    writeCases(system1904, folder.file(kWorkbook1904));
    setDate1904(folder.file(kWorkbook1904));
    std::vector<Difference> differences;
    compareThroughEngine(system1900, folder.path() / kWorkbook1900, differences);
    compareThroughEngine(system1904, folder.path() / kWorkbook1904, differences);
    std::cout << cases.size() - differences.size() << " of " << cases.size()
              << " cases read back as expected\n";
    KnownDifferences(kKnownDifferences).check(differences, isWrittenWorkbook);
}

// The application's workbooks: in each Tests sheet, column A holds the text the application
// cached for the value in column C under the code in column B.
TEST(NumberFormatWorkbookTest, ApplicationWorkbooksMatchOurRendering) {
    const fs::path folder = kVectors / "workbooks";
    TABULON_REQUIRE_SHARED(folder);
    std::size_t checked = 0;
    std::vector<Difference> differences;
    std::set<std::string> workbooks;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".xlsx") continue;
        const std::string name = entry.path().filename().string();
        workbooks.insert(name);
        workbook::Application app;
        app.workbooks().open(entry.path().string());
        const workbook::Workbook& book = app.workbooks().item(1);
        for (std::size_t s = 0; s < book.worksheetCount(); ++s) {
            const workbook::Worksheet& sheet = book.worksheet(s);
            if (sheet.name() != "Tests") continue;
            const auto range = sheet.usedRange();
            for (std::int32_t r = range.firstRow + 1; r <= range.lastRow; ++r) {
                const auto code = sheet.value(r, 2);
                const auto value = sheet.value(r, 3);
                if (code.kind != workbook::CellValue::Kind::Text) continue;
                const NumberFormat format = NumberFormat::compile(code.text);
                std::string rendered;
                if (value.kind == workbook::CellValue::Kind::Number ||
                    value.kind == workbook::CellValue::Kind::Date) {
                    rendered = format.format(value.number, book.date1904());
                } else if (value.kind == workbook::CellValue::Kind::Text) {
                    rendered = format.formatText(value.text);
                } else if (value.kind == workbook::CellValue::Kind::Boolean) {
                    rendered = format.formatText(value.boolean ? "TRUE" : "FALSE");
                } else {
                    continue;
                }
                const std::string expected = sheet.text(r, 1);
                ++checked;
                if (rendered != expected)
                    differences.push_back(
                        {name, sheet.name(), workbook::cellName(r, 1), rendered, expected, {}});
            }
        }
    }
    std::cout << "application workbooks: " << checked - differences.size() << " of " << checked
              << " rows match\n";
    ASSERT_GT(checked, 0u);
    KnownDifferences(kKnownDifferences).check(differences, [&](const Difference& row) {
        return workbooks.count(row.file) > 0;
    });
}

}  // namespace
}  // namespace tabulon::numfmt::testing
