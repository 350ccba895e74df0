// What an export run needs of the program around it: the file list, the chosen option, and the
// results list, which shows the run's results once they are handed over.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tabulon {

struct ResultColumn {
    std::string header;
    int widthTwips;
};

class ExportHost {
  public:
    virtual ~ExportHost() = default;

    // The file list, 1-based.
    virtual std::int32_t fileCount() const = 0;
    virtual std::string fileEntry(std::int32_t position) const = 0;
    // The text of the save-option list at this moment.
    virtual std::string saveOption() const = 0;

    // The results list: emptied of rows and columns, then given the option's columns.
    virtual void clearResults() = 0;
    virtual void addResultColumns(const std::vector<ResultColumn>& columns) = 0;
    // Called after each listed file has been through its export mode.
    virtual void workbookDone() {}

    // After the last file: the number of results; the results themselves are the records of the
    // run's store.
    virtual void handOver(std::int32_t totalResults) = 0;
};

}  // namespace tabulon
