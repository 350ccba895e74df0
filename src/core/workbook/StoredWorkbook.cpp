// Opening a workbook through its reader, and reading and releasing its worksheets' cells.
#include "core/workbook/StoredWorkbook.h"

#include <stdexcept>

#include "core/workbook/CellFormats.h"

namespace tabulon::workbook {

StoredWorkbook::StoredWorkbook(std::string path, std::unique_ptr<WorkbookReader> reader)
    : path_(std::move(path)), reader_(std::move(reader)) {
    readInPlace(path_, {}, [&] {
        for (WorksheetEntry& entry : reader_->open(data_)) {
            Slot slot;
            slot.entry = std::move(entry);
            slots_.push_back(std::move(slot));
        }
    });
    // Cells whose style index is beyond the file's formats fall back to index 0.
    if (data_.cellFormats.empty()) data_.cellFormats = generalCellFormats();
}

const std::string& StoredWorkbook::worksheetName(std::size_t index) const {
    return slots_.at(index).entry.name;
}

const Worksheet& StoredWorkbook::worksheet(std::size_t index) const {
    Slot& slot = slots_.at(index);
    if (slot.sheet) return *slot.sheet;
    if (slot.failure) std::rethrow_exception(slot.failure);
    if (slot.released) throw std::logic_error("worksheet " + slot.entry.name + " was released");
    try {
        // The cells read before damage are not kept: their sheet gives them back as it goes.
        readInPlace(path_, slot.entry.name,
                    [&] { slot.sheet = reader_->readWorksheet(index, slot.entry, data_); });
    } catch (const ReadError&) {
        slot.failure = std::current_exception();
        throw;
    }
    slot.cutTexts = slot.sheet->localStrings().cutCount();
    return *slot.sheet;
}

void StoredWorkbook::release(std::size_t index) const {
    Slot& slot = slots_.at(index);
    slot.released = true;
    slot.sheet.reset();
}

std::string StoredWorkbook::notice() const {
    std::size_t cut = data_.sharedStrings.cutCount();
    for (const Slot& slot : slots_) cut += slot.cutTexts;
    if (cut == 0) return {};
    return "Text longer than " + std::to_string(kMaxCellTextUnits) +
           " characters was cut to that length (" + std::to_string(cut) +
           (cut == 1 ? " text)" : " texts)");
}

std::unique_ptr<Workbook> openWorkbook(std::string path, std::unique_ptr<WorkbookReader> reader) {
    return std::make_unique<StoredWorkbook>(std::move(path), std::move(reader));
}

}  // namespace tabulon::workbook
