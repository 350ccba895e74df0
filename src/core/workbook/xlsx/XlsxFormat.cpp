// Reading the XML entries of an OOXML package: the workbook, styles, strings and sheets.
#include "core/workbook/xlsx/XlsxFormat.h"

#include "core/workbook/xlsx/SharedStrings.h"
#include "core/workbook/xlsx/Styles.h"
#include "core/workbook/xlsx/WorkbookPart.h"

namespace tabulon::workbook::xlsx {

namespace {

class XmlFormat : public package::PackageFormat {
  public:
    explicit XmlFormat(const XlsxReadOptions& options) : options_(options) {}

    package::WorkbookPart readWorkbookPart(ZipArchive& archive, std::string_view part) override {
        return xlsx::readWorkbookPart(archive, part);
    }
    std::vector<numfmt::NumberFormat> readCellFormats(ZipArchive& archive,
                                                      std::string_view part) override {
        return xlsx::readCellFormats(archive, part);
    }
    void readSharedStrings(ZipArchive& archive, std::string_view part, StringPool& out) override {
        xlsx::readSharedStrings(archive, part, out, options_.sheetPath);
    }
    void readWorksheet(ZipArchive& archive, std::string_view part, const WorkbookData& book,
                       StoredWorksheet& sheet) override {
        const SheetPath path = xlsx::readWorksheet(archive, part, book, sheet, options_.sheetPath);
        if (options_.pathsTaken != nullptr) options_.pathsTaken->push_back(path);
    }

  private:
    XlsxReadOptions options_;
};

}  // namespace

std::unique_ptr<package::PackageFormat> xmlFormat(const XlsxReadOptions& options) {
    return std::make_unique<XmlFormat>(options);
}

}  // namespace tabulon::workbook::xlsx
