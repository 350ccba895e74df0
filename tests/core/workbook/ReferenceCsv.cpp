// Comparing the engine's cell texts with the as-shown CSVs that LibreOffice made of the corpus.
#include "ReferenceCsv.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "core/workbook/CellReference.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook::testing {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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

void compareSheet(const Worksheet& sheet, const std::string& file,
                  const std::vector<std::vector<std::string>>& expected, Agreement& agreement) {
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
            if (ours == theirs)
                ++agreement.equal;
            else
                agreement.differences.push_back(
                    {file, sheet.name(), cellName(r, c), ours, theirs, {}});
        }
    }
}

Agreement compareCorpus(const std::function<bool(const std::string& fileName)>& filter) {
    std::ifstream index(kCorpus / "REFERENCE-LO.tsv");
    std::string line;
    std::getline(index, line);  // header
    Agreement overall;
    while (std::getline(index, line)) {
        std::istringstream fields(line);
        std::string file, status;
        std::getline(fields, file, '\t');
        std::getline(fields, status, '\t');
        if (status != "ok" || !filter(file)) continue;
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
            compareSheet(sheet, file, parseCsv(readFile(csv)), agreement);
        }
        overall.compared += agreement.compared;
        overall.equal += agreement.equal;
        overall.differences.insert(overall.differences.end(), agreement.differences.begin(),
                                   agreement.differences.end());
        const double share =
            agreement.compared == 0 ? 1.0 : double(agreement.equal) / agreement.compared;
        std::printf("%-60.60s %6ld/%6ld %6.2f%%\n", file.c_str(), agreement.equal,
                    agreement.compared, 100 * share);
    }
    return overall;
}

double printOverall(const Agreement& overall) {
    const double share =
        overall.compared == 0 ? 0.0 : double(overall.equal) / double(overall.compared);
    std::printf("overall: %ld of %ld cells agree (%.2f%%)\n", overall.equal, overall.compared,
                100 * share);
    return share;
}

}  // namespace tabulon::workbook::testing
