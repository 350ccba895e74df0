// Reading a list of known differences and holding the differences found against it.
#include "KnownDifferences.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

namespace tabulon::testing {

namespace {

constexpr std::size_t kLinesShown = 40;

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

using Key = std::tuple<std::string, std::string, std::string>;

Key keyOf(const Difference& d) { return {d.file, d.sheet, d.cell}; }

// Adds one failure that names the lines, at most kLinesShown of them.
void failWith(const std::string& heading, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    std::ostringstream message;
    message << lines.size() << ' ' << heading << ":\n";
    for (std::size_t i = 0; i < lines.size() && i < kLinesShown; ++i) message << lines[i] << '\n';
    if (lines.size() > kLinesShown)
        message << "... and " << lines.size() - kLinesShown << " more\n";
    ADD_FAILURE() << message.str();
}

}  // namespace

std::string listLine(const Difference& d) {
    return escaped(d.file) + '\t' + escaped(d.sheet) + '\t' + escaped(d.cell) + '\t' +
           escaped(d.ours) + '\t' + escaped(d.reference) + '\t' + escaped(d.why);
}

KnownDifferences::KnownDifferences(const std::filesystem::path& list) : list_(list) {
    std::ifstream in(list);
    std::string line;
    if (!std::getline(in, line)) {
        ADD_FAILURE() << "cannot read the list of known differences " << list;
        return;
    }
    for (int number = 2; std::getline(in, line); ++number) {
        std::vector<std::string> fields;
        std::istringstream row(line);
        for (std::string field; std::getline(row, field, '\t');) fields.push_back(unescaped(field));
        if (fields.size() == 5) fields.emplace_back();  // an empty last field
        if (fields.size() == 6 && fields[5].empty() && !rows_.empty()) fields[5] = rows_.back().why;
        if (fields.size() != 6 || fields[5].empty()) {
            ADD_FAILURE() << list.filename() << " line " << number
                          << ": six fields wanted, and a reason in the first row of a group";
            continue;
        }
        rows_.push_back({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
    }
}

void KnownDifferences::check(const std::vector<Difference>& found,
                             const std::function<bool(const Difference&)>& inScope) const {
    std::map<Key, const Difference*> listed;
    for (const Difference& row : rows_)
        if (inScope(row)) listed.emplace(keyOf(row), &row);
    std::vector<std::string> unlisted;
    std::vector<std::string> changed;
    for (const Difference& difference : found) {
        const auto known = listed.find(keyOf(difference));
        if (known == listed.end()) {
            unlisted.push_back(listLine(difference));
            continue;
        }
        if (known->second->ours != difference.ours ||
            known->second->reference != difference.reference) {
            Difference now = difference;
            now.why = known->second->why;
            changed.push_back(listLine(now));
        }
        listed.erase(known);
    }
    if (const char* out = std::getenv("TABULON_WRITE_DIFFERENCES")) {
        std::map<Key, std::string> reasons;
        for (const Difference& row : rows_) reasons.emplace(keyOf(row), row.why);
        std::ofstream written(out, std::ios::app);
        for (Difference row : found) {
            row.why = reasons[keyOf(row)];
            written << listLine(row) << '\n';
        }
    }
    std::vector<std::string> gone;
    for (const auto& [key, row] : listed) gone.push_back(listLine(*row));
    const std::string list = list_.filename().string();
    failWith("differences not in " + list + " (add them with a reason, or fix them)", unlisted);
    failWith("differences whose texts changed (as they are now)", changed);
    failWith("listed differences that no longer occur (remove them from " + list + ")", gone);
}

}  // namespace tabulon::testing
