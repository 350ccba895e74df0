// Reading the shared string table: the scanner first, expat when the scanner declines.
#include "core/workbook/xlsx/SharedStrings.h"

#include "core/workbook/xlsx/BuilderXmlHandler.h"
#include "core/workbook/xlsx/ScannedPart.h"
#include "core/workbook/xlsx/SharedStringsBuilder.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::xlsx {

void readSharedStrings(ZipArchive& archive, std::string_view part, StringPool& out,
                       SheetPath preferred) {
    if (preferred == SheetPath::Scanner) {
        SharedStringsBuilder builder(out);
        if (scanPart(archive, part, "sst", builder)) {
            out.shrinkToFit();
            return;
        }
        // Start again from nothing: expat decides what the entry holds.
        out.clear();
    }
    SharedStringsBuilder builder(out);
    BuilderXmlHandler<SharedStringsBuilder> handler(builder);
    xml::parseXmlPart(archive, part, handler);
    out.shrinkToFit();
}

}  // namespace tabulon::workbook::xlsx
