// The number format of every cell format (XF) of a BIFF workbook, gathered record by record.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/numfmt/NumberFormat.h"

namespace tabulon::workbook::xls {

class CellFormatTable {
  public:
    // A FORMAT record with its format id (BIFF5 and later).
    void addFormat(int id, std::string code) { codes_[id] = std::move(code); }
    // A FORMAT record of BIFF2-4, whose id is its position among the FORMAT records.
    void addFormatInOrder(std::string code) { codes_[nextPosition_++] = std::move(code); }
    // An XF record's format id; XFs are numbered in the order they come.
    void addXf(int formatId) { xfFormats_.push_back(formatId); }

    // The compiled format of each XF, each format id compiled once; ids without a FORMAT record
    // take the built-in code. With no XF at all, the styles are taken as format ids (BIFF2 cells
    // name their format directly).
    std::vector<numfmt::NumberFormat> compile() const;

  private:
    std::map<int, std::string> codes_;
    int nextPosition_ = 0;
    std::vector<int> xfFormats_;
};

}  // namespace tabulon::workbook::xls
