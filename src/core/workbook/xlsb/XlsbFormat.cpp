// Reading the record entries of a binary workbook package: workbook, styles, strings, sheets.
#include "core/workbook/xlsb/XlsbFormat.h"

#include "core/workbook/xlsb/SharedStringsBin.h"
#include "core/workbook/xlsb/SheetBin.h"
#include "core/workbook/xlsb/StylesBin.h"
#include "core/workbook/xlsb/WorkbookBin.h"

namespace tabulon::workbook::xlsb {

namespace {

class BinaryFormat : public package::PackageFormat {
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
        readWorksheetBin(archive, part, book, sheet);
    }
};

}  // namespace

std::unique_ptr<package::PackageFormat> binaryFormat() { return std::make_unique<BinaryFormat>(); }

}  // namespace tabulon::workbook::xlsb
