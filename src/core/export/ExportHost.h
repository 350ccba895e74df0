// What an export run needs of the program around it: the file list, the chosen option, and the
// results list that receives every result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/export/StoredText.h"

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
    // Appends a row and returns its 1-based position.
    virtual std::int32_t addResultRow(const std::string& name) = 0;
    virtual void setResultSubItem(std::int32_t row, int index, const std::string& text) = 0;
    // Keeps the text that the preview shows for result k (1-based).
    virtual void setPreviewText(std::int32_t resultIndex, const StoredText& text) = 0;
    // Called after each listed file has been through its export mode.
    virtual void workbookDone() {}

    // After the last file: the number of results, then the results are handed over.
    virtual void handOver(std::int32_t totalResults) = 0;
};

}  // namespace tabulon
