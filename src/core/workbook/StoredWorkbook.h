// The workbook that every reader opens: what its sheets share, read at once, and each
// worksheet's cells, read through the format's reader when first asked for.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/Workbook.h"
#include "core/workbook/WorkbookReader.h"

namespace tabulon::workbook {

class StoredWorkbook : public Workbook {
  public:
    // Opens the workbook through the reader; the path names the file in errors. Throws
    // ReadError.
    StoredWorkbook(std::string path, std::unique_ptr<WorkbookReader> reader);
    StoredWorkbook(const StoredWorkbook&) = delete;
    StoredWorkbook& operator=(const StoredWorkbook&) = delete;

    std::size_t worksheetCount() const override { return slots_.size(); }
    const std::string& worksheetName(std::size_t index) const override;
    SheetVisibility worksheetVisibility(std::size_t index) const override {
        return slots_.at(index).entry.visibility;
    }
    const Worksheet& worksheet(std::size_t index) const override;
    void release(std::size_t index) const override;
    bool date1904() const override { return data_.date1904; }
    std::string notice() const override;

    const WorkbookData& data() const { return data_; }

  private:
    struct Slot {
        WorksheetEntry entry;
        std::unique_ptr<StoredWorksheet> sheet;  // while held
        std::exception_ptr failure;              // why the cells could not be read
        std::size_t cutTexts = 0;                // texts cut at the cell limit, once read
        bool released = false;
    };

    std::string path_;
    WorkbookData data_;
    // Declared after data_: the reader and the sheets refer to it.
    std::unique_ptr<WorkbookReader> reader_;
    mutable std::vector<Slot> slots_;
};

// Opens a workbook through the reader, as StoredWorkbook does.
std::unique_ptr<Workbook> openWorkbook(std::string path, std::unique_ptr<WorkbookReader> reader);

}  // namespace tabulon::workbook
