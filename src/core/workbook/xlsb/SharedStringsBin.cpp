// Reading the string items of the binary shared string table.
#include "core/workbook/xlsb/SharedStringsBin.h"

#include "core/workbook/xlsb/RecordStream.h"
#include "core/workbook/xlsb/RecordTypes.h"

namespace tabulon::workbook::xlsb {

void readSharedStringsBin(ZipArchive& archive, std::string_view part, StringPool& out) {
    readRecords(archive, part, [&](RecordPayload& record) {
        if (record.type() != record::kSharedStringItem) return;
        // A rich string: a flags byte (rich runs, phonetic text), the text, then the runs and
        // the phonetic data, which the record's size lets us pass over.
        record.skip(1);
        out.add(record.wideString());
    });
    out.shrinkToFit();
}

}  // namespace tabulon::workbook::xlsb
