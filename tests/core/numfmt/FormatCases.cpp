// Reading cases.tsv and rendering one case through NumberFormat.
#include "FormatCases.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "core/numfmt/NumberFormat.h"

namespace tabulon::numfmt::testing {

namespace {

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

}  // namespace

std::vector<FormatCase> loadFormatCases(const std::string& path, const std::string& grades) {
    std::vector<FormatCase> cases;
    std::ifstream in(path);
    std::string line;
    if (!std::getline(in, line)) throw std::runtime_error("cannot read " + path);  // header
    for (int number = 2; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto f = splitTabs(line);
        if (f.size() < 9)
            throw std::runtime_error(path + " line " + std::to_string(number) +
                                     ": fewer fields than the table has");
        if (grades.find(f[1]) == std::string::npos) continue;
        FormatCase c;
        c.id = f[0];
        c.grade = f[1];
        c.group = f[3];
        c.format = f[4];
        c.valueType = f[5].empty() ? 'n' : f[5][0];
        c.value = f[6];
        c.date1904 = f[7] == "1";
        c.expected = f[8];
        cases.push_back(std::move(c));
    }
    return cases;
}

std::string renderCase(const FormatCase& c) {
    const NumberFormat format = NumberFormat::compile(c.format);
    if (c.valueType == 'n') return format.format(std::strtod(c.value.c_str(), nullptr), c.date1904);
    return format.formatText(c.value);
}

}  // namespace tabulon::numfmt::testing
