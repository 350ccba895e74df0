// Checked-in lists of the places where our text and a reference's text are known to differ, and
// why. A test collects the differences it finds and holds them against the list: a difference
// that is not listed and a listed one that no longer occurs both fail.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tabulon::testing {

// One cell (or case) where the texts differ. Lists are tab-separated, one difference a line,
// with a header line and the columns in this order; a tab, line break, carriage return or
// backslash inside a field is written \t, \n, \r or \\. Rows that one reason covers form a
// group: the reason stands in the group's first row and the others leave it empty.
struct Difference {
    std::string file;
    std::string sheet;
    std::string cell;  // a cell name such as "B3", or a case id
    std::string ours;
    std::string reference;
    std::string why;
};

// The line of a list that holds the difference.
std::string listLine(const Difference& difference);

class KnownDifferences {
  public:
    // Reads the list; a list that cannot be read, or a row without a reason, fails the test.
    explicit KnownDifferences(const std::filesystem::path& list);

    // Holds the differences found against the listed ones that the scope takes. Each that is
    // found but not listed with the same texts, and each listed one not found, fails the test;
    // the failure message names them as lines ready for the list. With TABULON_WRITE_DIFFERENCES
    // set to a file name, every difference found is also added to that file as a line of a list,
    // with its listed reason.
    void check(const std::vector<Difference>& found,
               const std::function<bool(const Difference&)>& inScope) const;

    const std::vector<Difference>& rows() const { return rows_; }

  private:
    std::filesystem::path list_;
    std::vector<Difference> rows_;
};

}  // namespace tabulon::testing
