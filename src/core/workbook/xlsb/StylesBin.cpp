// Reading custom number formats and the cell formats' format ids from the binary styles part.
#include "core/workbook/xlsb/StylesBin.h"

#include <map>
#include <string>

#include "core/workbook/CellFormats.h"
#include "core/workbook/xlsb/RecordStream.h"
#include "core/workbook/xlsb/RecordTypes.h"

namespace tabulon::workbook::xlsb {

std::vector<numfmt::NumberFormat> readCellFormatsBin(ZipArchive& archive, std::string_view part) {
    std::map<int, std::string> customCodes;
    std::vector<int> formatIds;
    bool inCellFormats = false;
    readRecords(archive, part, [&](RecordPayload& record) {
        switch (record.type()) {
            case record::kNumberFormat: {
                const std::uint16_t id = record.u16();
                customCodes[id] = record.wideString();
                break;
            }
            case record::kBeginCellFormats:
                inCellFormats = true;
                break;
            case record::kEndCellFormats:
                inCellFormats = false;
                break;
            case record::kCellFormat:
                if (inCellFormats) {
                    record.skip(2);  // the parent cell style format
                    formatIds.push_back(record.u16());
                }
                break;
        }
    });
    return compileCellFormats(formatIds, customCodes);
}

}  // namespace tabulon::workbook::xlsb
