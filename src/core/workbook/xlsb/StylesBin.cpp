// Reading custom number formats and the cell formats' format ids from the binary styles part.
#include "core/workbook/xlsb/StylesBin.h"

#include <map>
#include <string>

#include "core/workbook/xlsb/RecordStream.h"
#include "core/workbook/xlsb/RecordTypes.h"
#include "core/workbook/xlsx/Styles.h"

namespace tabulon::workbook::xlsb {

std::vector<numfmt::NumberFormat> readCellFormatsBin(ZipArchive& archive, std::string_view part) {
    std::map<std::uint16_t, std::string> customCodes;
    std::vector<std::uint16_t> formatIds;
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
    if (formatIds.empty()) return xlsx::defaultCellFormats();

    std::map<std::uint16_t, numfmt::NumberFormat> compiled;
    std::vector<numfmt::NumberFormat> formats;
    formats.reserve(formatIds.size());
    for (const std::uint16_t id : formatIds) {
        auto it = compiled.find(id);
        if (it == compiled.end()) {
            const auto custom = customCodes.find(id);
            it = compiled
                     .emplace(id, numfmt::NumberFormat::compile(
                                      custom != customCodes.end() ? std::string_view(custom->second)
                                                                  : numfmt::builtinFormatCode(id)))
                     .first;
        }
        formats.push_back(it->second);
    }
    return formats;
}

}  // namespace tabulon::workbook::xlsb
