// Choosing the reader of a worksheet part: the scanner first, expat when the scanner declines.
#include "core/workbook/xlsx/SheetParser.h"

#include "core/workbook/xlsx/BuilderXmlHandler.h"
#include "core/workbook/xlsx/ScannedPart.h"
#include "core/workbook/xlsx/SheetBuilder.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::xlsx {

SheetPath readWorksheet(ZipArchive& archive, std::string_view part, const WorkbookData& book,
                        StoredWorksheet& sheet, SheetPath preferred) {
    if (preferred == SheetPath::Scanner) {
        SheetBuilder builder(archive.path(), part, book, sheet);
        if (scanPart(archive, part, "sheetData", builder)) {
            builder.finish();
            return SheetPath::Scanner;
        }
        // Start again from nothing: expat decides what the sheet holds.
        sheet.clear();
    }
    SheetBuilder builder(archive.path(), part, book, sheet);
    BuilderXmlHandler<SheetBuilder> handler(builder);
    xml::parseXmlPart(archive, part, handler);
    builder.finish();
    return SheetPath::Expat;
}

}  // namespace tabulon::workbook::xlsx
