// tabulon-cli's options for data pipelines, run as processes: --values, --encoding, --sheet
// patterns with --skip-hidden, the spellings of options, usage errors and a made output folder.
// CSV output is read back by Python's csv module.
#include <cstdio>
#include <sstream>

#include "CsvReadBack.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Rows = std::vector<std::vector<std::string>>;
using testing::bytesOf;
using testing::CliOutput;
using testing::namesIn;

Rows transposed(const Rows& rows) {
    Rows columns(rows.front().size());
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) columns[c].push_back(row[c]);
    return columns;
}

// A worksheet's cells in the xlsx form, one row a line of `cells`.
std::string sheetXml(const Rows& cells) {
    std::string xml;
    for (std::size_t r = 0; r < cells.size(); ++r) {
        xml += "<row r=\"" + std::to_string(r + 1) + "\">";
        for (const std::string& cell : cells[r]) xml += cell;
        xml += "</row>";
    }
    return xml;
}

std::string cell(const std::string& ref, const std::string& value, int style = 0,
                 const std::string& type = {}) {
    std::string xml = "<c r=\"" + ref + "\"";
    if (style != 0) xml += " s=\"" + std::to_string(style) + "\"";
    if (!type.empty()) xml += " t=\"" + type + "\"";
    if (type == "inlineStr") return xml + "><is><t>" + value + "</t></is></c>";
    return xml + "><v>" + value + "</v></c>";
}

// Styles 1 to 4: a date, a time, a date and time, and "#,##0.00".
const char* const kStyles =
    "<cellXfs count=\"5\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\" applyNumberFormat=\"1\"/>"
    "<xf numFmtId=\"21\" applyNumberFormat=\"1\"/><xf numFmtId=\"22\" applyNumberFormat=\"1\"/>"
    "<xf numFmtId=\"4\" applyNumberFormat=\"1\"/></cellXfs>";

class CliDataOptionsTest : public testing::CliProcessTest {
  protected:
    std::string book(const std::string& name, const std::vector<testing::HandSheet>& sheets,
                     bool date1904 = false) {
        const std::string path = (folder.path() / name).string();
        testing::XlsxPackage::workbook(sheets, {}, kStyles, date1904).write(path);
        return path;
    }
};

TEST_F(CliDataOptionsTest, ValuesOfEveryCellKindInBothDateSystemsInEveryMode) {
    for (const bool date1904 : {false, true}) {
        SCOPED_TRACE(date1904 ? "1904" : "1900");
        // The same days in either system; serial 60 is a day only in the 1904 system.
        const double shift = date1904 ? 1462 : 0;
        const auto serial = [&](double s) {
            char text[32];
            std::snprintf(text, sizeof text, "%.17g", s - shift);
            return std::string(text);
        };
        const std::string path = book(
            date1904 ? "Values1904.xlsx" : "Values.xlsx",
            {{"S",
              sheetXml(
                  {{cell("A1", "7897"), cell("B1", "0.30000000000000004"),
                    cell("C1", "12345678901234"), cell("D1", "1E+21"), cell("E1", "1.5E-7")},
                   {cell("A2", serial(45000), 1), cell("B2", "0.57326388888888891", 2),
                    cell("C2", serial(45351 + 49530.0 / 86400), 3),
                    cell("D2", serial(45000 + 49530.25 / 86400), 3), cell("E2", "60", 1)},
                   {cell("A3", "1", 0, "b"), cell("B3", "0", 0, "b"), cell("C3", "#N/A", 0, "e"),
                    cell("D3", "1,234.50", 0, "inlineStr"), cell("E3", "7897", 4)}})}},
            date1904);
        const Rows expected = {{"7897", "0.30000000000000004", "12345678901234", "1e+21", "1.5e-7"},
                               {"2023-03-15", "13:45:30", "2024-02-29T13:45:30",
                                "2023-03-15T13:45:30.25", date1904 ? "1904-03-01" : "60"},
                               {"TRUE", "FALSE", "#N/A", "1,234.50", "7897"}};
        for (const std::string mode : {"book", "sheet", "row", "column"}) {
            SCOPED_TRACE(mode);
            const CliOutput run =
                runCli({"--values", "--csv", "--mode", mode, "--output", "-", path});
            ASSERT_EQ(run.status, 0) << run.err;
            const fs::path file = folder.path() / "out.csv";
            std::ofstream(file, std::ios::binary) << run.out;
            EXPECT_EQ(testing::readCsvWithPython(file),
                      mode == "column" ? transposed(expected) : expected);
        }
        // The window's format takes the stored values too, the error value's included.
        const CliOutput window = runCli({"--values", "--mode", "sheet", "--output", "-", path});
        EXPECT_EQ(window.status, 0) << window.err;
        std::string text;
        for (const auto& row : expected) {
            for (const std::string& value : row) text += value + ", ";
            text += "\r\n";
        }
        EXPECT_EQ(window.out, text + "\r\n\r\n");  // a line end at each write of the text
    }
}

TEST_F(CliDataOptionsTest, EachEncodingAndACharacterThatDoesNotFit) {
    const std::string cafe = "Caf\xC3\xA9";
    const std::string euro = "5 \xE2\x82\xAC";
    const std::string path = book(
        "Enc.xlsx",
        {{"Plain", sheetXml({{cell("A1", cafe, 0, "inlineStr"), cell("B1", "1")},
                             {cell("A2", "a,b", 0, "inlineStr"), cell("B2", "2")}})},
         {"Euro", sheetXml({{cell("A1", "x", 0, "inlineStr"), cell("B1", euro, 0, "inlineStr")},
                            {cell("A2", "y", 0, "inlineStr"), cell("B2", "3")}})}});
    const Rows plain = {{cafe, "1"}, {"a,b", "2"}};
    const Rows withEuro = {{"x", euro}, {"y", "3"}};
    const struct {
        const char* name;
        const char* python;
        std::string byteOrderMark;
    } readable[] = {{"utf-8", "utf-8", ""},
                    {"utf-8-bom", "utf-8-sig", "\xEF\xBB\xBF"},
                    {"utf-16", "utf-16", "\xFF\xFE"},
                    {"windows-1252", "cp1252", ""}};
    for (const auto& encoding : readable) {
        SCOPED_TRACE(encoding.name);
        const fs::path out = folder.path() / encoding.name;
        const CliOutput run = runCli({"--csv", "--mode", "sheet", "--encoding", encoding.name,
                                      "--output", out.string(), path});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(testing::readCsvWithPython(out / "Enc_Plain.csv", ",", encoding.python), plain);
        EXPECT_EQ(testing::readCsvWithPython(out / "Enc_Euro.csv", ",", encoding.python), withEuro);
        EXPECT_TRUE(bytesOf(out / "Enc_Euro.csv").starts_with(encoding.byteOrderMark + "x"));
        // On stdout every result starts with the byte-order mark, as its file does.
        const CliOutput streamed = runCli(
            {"--csv", "--mode", "sheet", "--encoding", encoding.name, "--output", "-", path});
        EXPECT_EQ(streamed.out, bytesOf(out / "Enc_Plain.csv") + bytesOf(out / "Enc_Euro.csv"));
    }
    EXPECT_EQ(bytesOf(folder.path() / "windows-1252" / "Enc_Euro.csv"), "x,5 \x80\r\ny,3\r\n");
    // The window's format in UTF-16: separators and both line ends are encoded too.
    const CliOutput window =
        runCli({"--encoding", "utf-16", "--sheet", "Plain", "--output", "-", path});
    EXPECT_EQ(window.out,
              "\xFF\xFE"
              "C\0a\0f\0\xE9\0,\0 \0"
              "1\0,\0 \0\r\0\n\0"
              "a\0,\0b\0,\0 \0"
              "2\0,\0 \0\r\0\n\0\r\0\n\0\r\0\n\0"s);

    // cp437 has no euro sign: that result is not saved, the other one is.
    const fs::path out = folder.path() / "cp437";
    const CliOutput run =
        runCli({"--mode", "sheet", "--encoding", "CP437", "--output", out.string(), path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tabulon-cli: " + path +
                           ": sheet Euro: cell B1: the character \"\xE2\x82\xAC\" (U+20AC) cannot "
                           "be written in CP437, the result is not saved\n");
    EXPECT_EQ(namesIn(out), (std::vector<std::string>{"Enc_Plain.csv"}));
    EXPECT_EQ(bytesOf(out / "Enc_Plain.csv"), "Caf\x82, 1, \r\na,b, 2, \r\n\r\n\r\n");
}

TEST_F(CliDataOptionsTest, SheetPatternsAndHiddenSheetsForExportAndList) {
    const std::string data = sheetXml({{cell("A1", "1"), cell("B1", "2")}, {cell("A2", "3")}});
    const std::string first = book("First.xlsx", {{"Q1", data},
                                                  {"Q2", data, "worksheet", "hidden"},
                                                  {"[1]", data},
                                                  {"Notes", data, "worksheet", "veryHidden"},
                                                  {"1", data}});
    const std::string second = book("Second.xlsx", {{"1", data}, {"Q3", data}});
    const auto listed = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "--list");
        arguments.insert(arguments.end(), {first, second});
        const CliOutput run = runCli(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        std::string names;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t name = line.find('\t') + 1;
            names += fs::path(line.substr(0, name - 1)).stem().string() + ":" +
                     line.substr(name, line.find('\t', name) - name) + " ";
        }
        return names;
    };
    EXPECT_EQ(listed({"--sheet", "Q*"}), "First:Q1 First:Q2 Second:Q3 ");
    EXPECT_EQ(listed({"--sheet", "Q*", "--skip-hidden"}), "First:Q1 Second:Q3 ");
    EXPECT_EQ(listed({"--skip-hidden"}), "First:Q1 First:[1] First:1 Second:1 Second:Q3 ");
    // An exact name first, then a position, then a pattern: "[1]" is the sheet of that name
    // where there is one and the sheet "1" elsewhere; "2" is the second worksheet.
    EXPECT_EQ(listed({"--sheet", "[1]", "--sheet", "2"}), "First:Q2 First:[1] Second:1 Second:Q3 ");
    EXPECT_EQ(listed({"--sheet=[!Q]*", "--skip-hidden"}), "First:[1] First:1 Second:1 ");

    const fs::path out = folder.path() / "out";
    const CliOutput run = runCli({"--mode", "sheet", "--sheet", "Q?", "--sheet", "Nothing*",
                                  "--skip-hidden", "--output", out.string(), first, second});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tabulon-cli: no workbook has a sheet \"Nothing*\"\n");
    EXPECT_EQ(namesIn(out), (std::vector<std::string>{"First_Q1.csv", "Second_Q3.csv"}));
}

TEST_F(CliDataOptionsTest, SpellingsUsageErrorsAndAMadeOutputFolder) {
    const std::string path =
        testing::writeWorkbook(folder, "Book.xlsx", {{"S", {{"A1", "a"}, {"B2", "b"}}}});
    // Made with its parents; every spelling of a value gives the same run.
    const fs::path made = workFolder.path() / "made" / "deeper";
    for (const std::vector<std::string>& spelling : std::vector<std::vector<std::string>>{
             {"-j2", "--mode=sheet", "--output=made/deeper"},
             {"-j", "2", "--mode", "sheet", "--output", made.string()},
             {"--jobs=2", "--mode", "sheet", "--output", "made/deeper"}}) {
        std::vector<std::string> arguments = spelling;
        arguments.push_back(path);
        const CliOutput run = runCli(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(namesIn(made), (std::vector<std::string>{"Book_S.csv"}));
        fs::remove_all(workFolder.path() / "made");
    }
    const fs::path file = workFolder.path() / "file";
    std::ofstream(file) << "x";
    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } errors[] = {
        {{"--frobnicate", path}, "The following argument was not expected: --frobnicate"},
        {{"--output", "file", path}, "--output file is not a folder"},
        {{"--encoding", "klingon", path}, "unknown encoding klingon"},
        {{"--csv"}, "no PATH given"},
        {{}, "no PATH given"},
    };
    for (const auto& error : errors) {
        const CliOutput run = runCli(error.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "tabulon-cli: " + error.message +
                               "\nTry 'tabulon-cli --help' for more information.\n");
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(bytesOf(file), "x");
}

}  // namespace
}  // namespace tabulon
