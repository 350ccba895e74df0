// Reading the record parts of a binary workbook package: workbook part, styles, strings, sheets.
#include "core/workbook/xlsb/XlsbParts.h"

#include "core/workbook/xlsb/SharedStringsBin.h"
#include "core/workbook/xlsb/SheetBin.h"
#include "core/workbook/xlsb/StylesBin.h"
#include "core/workbook/xlsb/WorkbookBin.h"

namespace tabulon::workbook::xlsb {

namespace {

class BinaryParts : public package::PackageParts {
  public:
    package::WorkbookPart readWorkbookPart(ZipArchive& archive, std::string_view part) override {
        return readWorkbookBin(archive, part);
    }
    std::vector<numfmt::NumberFormat> readCellFormats(ZipArchive& archive,
                                                      std::string_view part) override {
        return readCellFormatsBin(archive, part);
    }
    void readSharedStrings(ZipArchive& archive, std::string_view part, StringPool& out) override {
        readSharedStringsBin(archive, part, out);
    }
    void readWorksheet(ZipArchive& archive, std::string_view part, const WorkbookData& book,
                       StoredWorksheet& sheet) override {
        readWorksheetBin(archive, part, book, sheet, book.cellsLeft);
    }
};

}  // namespace

std::unique_ptr<package::PackageParts> binaryParts() { return std::make_unique<BinaryParts>(); }

}  // namespace tabulon::workbook::xlsb
