// Shared pieces of the export tests: workbooks written from cell lists, results delivered.
#include "ExportTestSupport.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>

#include "core/export/ResultBuilder.h"

namespace tabulon::testing {
namespace {

std::string escapeXml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\r':  // a literal CR would be read back as LF
                out += "&#13;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

bool isNumber(const std::string& text) {
    if (text.empty()) return false;
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

int rowOf(const std::string& ref) {
    std::size_t i = 0;
    while (i < ref.size() && std::isalpha(static_cast<unsigned char>(ref[i]))) ++i;
    return std::atoi(ref.c_str() + i);
}

std::string cellXml(const CellSpec& cell) {
    const std::string r = " r=\"" + cell.ref + "\"";
    if (isNumber(cell.content)) return "<c" + r + "><v>" + cell.content + "</v></c>";
    if (!cell.content.empty() && cell.content[0] == '#') {
        return "<c" + r + " t=\"e\"><v>" + escapeXml(cell.content) + "</v></c>";
    }
    return "<c" + r + " t=\"inlineStr\"><is><t xml:space=\"preserve\">" + escapeXml(cell.content) +
           "</t></is></c>";
}

}  // namespace

std::string sheetDataXml(const std::vector<CellSpec>& cells) {
    std::map<int, std::string> rows;
    for (const CellSpec& cell : cells) rows[rowOf(cell.ref)] += cellXml(cell);
    std::string xml;
    for (const auto& [row, content] : rows)
        xml += "<row r=\"" + std::to_string(row) + "\">" + content + "</row>";
    return xml;
}

std::string writeWorkbook(const ScratchFolder& folder, const std::string& fileName,
                          const std::vector<SheetSpec>& sheets) {
    std::vector<HandSheet> hand;
    for (const SheetSpec& sheet : sheets) hand.emplace_back(sheet.name, sheetDataXml(sheet.cells));
    const std::string path = folder.file(fileName);
    XlsxPackage::workbook(hand).write(path);
    return path;
}

void keepResult(ResultStore& store, const std::string& text, const std::string& name,
                const std::string& sheet, std::int32_t number) {
    ResultBuilder builder(store, "Book1.xlsx", "");
    builder.append(text);
    builder.finish(name, sheet, number);
}

std::vector<std::string> sheetsOf(const ResultStore& results) {
    std::vector<std::string> sheets;
    for (std::size_t k = 0; k < results.size(); ++k) sheets.emplace_back(results.at(k).sheet);
    return sheets;
}

TempEnvironment::TempEnvironment(const std::string& folder) {
    if (const char* value = std::getenv("TEMP")) previous_ = value;
    ::setenv("TEMP", folder.c_str(), 1);
}

TempEnvironment::~TempEnvironment() {
    if (previous_) {
        ::setenv("TEMP", previous_->c_str(), 1);
    } else {
        ::unsetenv("TEMP");
    }
}

}  // namespace tabulon::testing
