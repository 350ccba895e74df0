// Reading an OOXML package: the workbook part, its relationships, styles, strings and sheets.
#include "core/workbook/xlsx/XlsxReader.h"

#include "core/workbook/ReadLimits.h"
#include "core/workbook/StoredWorkbook.h"
#include "core/workbook/xlsb/XlsbReader.h"
#include "core/workbook/xlsx/Relationships.h"
#include "core/workbook/xlsx/SharedStrings.h"
#include "core/workbook/xlsx/SheetParser.h"
#include "core/workbook/xlsx/Styles.h"
#include "core/workbook/xlsx/WorkbookPart.h"

namespace tabulon::workbook::xlsx {

namespace {

// The workbook part named by the package relationships. A package without them is accepted when
// the workbook part sits at its usual place.
std::string findWorkbookPart(ZipArchive& archive) {
    const auto relationships = readRelationships(archive, "");
    if (const Relationship* office = findByRole(relationships, "officeDocument"))
        return office->target;
    if (archive.contains("xl/workbook.xml")) return "xl/workbook.xml";
    throw ReadError(ReadErrorKind::NotAWorkbook, {archive.path(), {}, {}, {}});
}

}  // namespace

std::unique_ptr<Workbook> readXlsx(ZipArchive& archive, const XlsxReadOptions& options) {
    const std::string workbookPart = findWorkbookPart(archive);
    // A binary workbook (.xlsb) shares the package layout but keeps its parts as records.
    if (workbookPart.ends_with(".bin")) return xlsb::readXlsb(archive, workbookPart);
    if (!archive.contains(workbookPart))
        throw ReadError(ReadErrorKind::MissingPart, {archive.path(), {}, {}, {}}, workbookPart);

    const WorkbookPart info = readWorkbookPart(archive, workbookPart);
    const auto relationships = readRelationships(archive, workbookPart);

    auto book = std::make_unique<StoredWorkbook>();
    WorkbookData& data = book->data();
    data.date1904 = info.date1904;
    const Relationship* styles = findByRole(relationships, "styles");
    data.cellFormats = styles != nullptr && archive.contains(styles->target)
                           ? readCellFormats(archive, styles->target)
                           : defaultCellFormats();
    if (const Relationship* strings = findByRole(relationships, "sharedStrings");
        strings != nullptr && archive.contains(strings->target))
        readSharedStrings(archive, strings->target, data.sharedStrings);

    std::uint64_t cellBudget = kMaxCells;
    for (const SheetEntry& entry : info.sheets) {
        const Relationship* target = nullptr;
        for (const Relationship& r : relationships)
            if (r.id == entry.relationshipId) target = &r;
        if (target == nullptr)
            throw ReadError(ReadErrorKind::MissingPart, {archive.path(), {}, entry.name, {}},
                            "of the sheet (relationship \"" + entry.relationshipId + "\")");
        if (!hasRole(*target, "worksheet")) continue;
        StoredWorksheet& sheet = book->addWorksheet(entry.name, entry.visibility);
        readInSheet(entry.name, [&] {
            const SheetPath path =
                readWorksheet(archive, target->target, data, sheet, cellBudget, options.sheetPath);
            if (options.pathsTaken != nullptr) options.pathsTaken->push_back(path);
        });
    }
    return book;
}

}  // namespace tabulon::workbook::xlsx
