// Hand-made xlsx packages for tests: the package parts that libxlsxwriter never writes (inline
// strings, cells without references, phonetic runs, chart sheets, damaged parts) written as given.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tabulon::testing {

struct HandSheet {
    HandSheet(std::string name, std::string sheetData, std::string role = "worksheet",
              std::string state = {}, bool wholePart = false)
        : name(std::move(name)),
          sheetData(std::move(sheetData)),
          role(std::move(role)),
          state(std::move(state)),
          wholePart(wholePart) {}

    std::string name;
    std::string sheetData;  // the content of <sheetData>, or the whole part (see below)
    std::string role;       // relationship role: worksheet, chartsheet, dialogsheet, ...
    std::string state;      // "", "hidden" or "veryHidden"
    bool wholePart;         // sheetData is the complete part, written unchanged
};

class XlsxPackage {
  public:
    // A workbook with these sheets; sharedStrings and styles are the package parts' inner XML (the
    // content of <sst> and <styleSheet>), left out when empty.
    static XlsxPackage workbook(const std::vector<HandSheet>& sheets,
                                const std::string& sharedStrings = {},
                                const std::string& styles = {}, bool date1904 = false);

    void setPart(const std::string& name, const std::string& content) { parts_[name] = content; }
    void removePart(const std::string& name) { parts_.erase(name); }
    // Writes the zip; throws std::runtime_error when it cannot.
    void write(const std::string& path) const;

  private:
    std::map<std::string, std::string> parts_;
};

}  // namespace tabulon::testing
