// Reading the sheet bundles and workbook properties of the binary workbook part.
#include "core/workbook/xlsb/WorkbookBin.h"

#include "core/workbook/xlsb/RecordStream.h"
#include "core/workbook/xlsb/RecordTypes.h"

namespace tabulon::workbook::xlsb {

namespace {

void takeWorkbookRecord(RecordPayload& record, package::WorkbookPart& out) {
    if (record.type() == record::kBeginBook) {
        out.isWorkbook = true;
    } else if (record.type() == record::kWorkbookProperties) {
        out.date1904 = (record.u32() & 1) != 0;
    } else if (record.type() == record::kSheetBundle) {
        package::SheetEntry entry;
        const std::uint32_t state = record.u32();
        if (state == 1) entry.visibility = SheetVisibility::Hidden;
        if (state == 2) entry.visibility = SheetVisibility::VeryHidden;
        record.skip(4);  // the tab id
        entry.relationshipId = record.nullableWideString();
        entry.name = record.wideString();
        out.sheets.push_back(std::move(entry));
    }
}

}  // namespace

package::WorkbookPart readWorkbookBin(ZipArchive& archive, std::string_view part) {
    package::WorkbookPart result;
    readRecords(archive, part, [&](RecordPayload& record) { takeWorkbookRecord(record, result); });
    return result;
}

}  // namespace tabulon::workbook::xlsb
