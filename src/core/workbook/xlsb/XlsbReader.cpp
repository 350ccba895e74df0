// Reading a binary workbook package: the workbook part, its relationships, styles, strings, sheets.
#include "core/workbook/xlsb/XlsbReader.h"

#include "core/workbook/ReadLimits.h"
#include "core/workbook/StoredWorkbook.h"
#include "core/workbook/xlsb/SharedStringsBin.h"
#include "core/workbook/xlsb/SheetBin.h"
#include "core/workbook/xlsb/StylesBin.h"
#include "core/workbook/xlsb/WorkbookBin.h"
#include "core/workbook/xlsx/Relationships.h"
#include "core/workbook/xlsx/Styles.h"

namespace tabulon::workbook::xlsb {

namespace {

const xlsx::Relationship* findById(const std::vector<xlsx::Relationship>& relationships,
                                   const std::string& id) {
    for (const xlsx::Relationship& r : relationships)
        if (r.id == id) return &r;
    return nullptr;
}

}  // namespace

std::unique_ptr<Workbook> readXlsb(ZipArchive& archive, const std::string& workbookPart) {
    if (!archive.contains(workbookPart))
        throw ReadError(ReadErrorKind::MissingPart, {archive.path(), {}, {}, {}}, workbookPart);
    const xlsx::WorkbookPart info = readWorkbookBin(archive, workbookPart);
    const auto relationships = xlsx::readRelationships(archive, workbookPart);

    auto book = std::make_unique<StoredWorkbook>();
    WorkbookData& data = book->data();
    data.date1904 = info.date1904;
    const xlsx::Relationship* styles = xlsx::findByRole(relationships, "styles");
    data.cellFormats = styles != nullptr && archive.contains(styles->target)
                           ? readCellFormatsBin(archive, styles->target)
                           : xlsx::defaultCellFormats();
    if (const xlsx::Relationship* strings = xlsx::findByRole(relationships, "sharedStrings");
        strings != nullptr && archive.contains(strings->target))
        readSharedStringsBin(archive, strings->target, data.sharedStrings);

    std::uint64_t cellBudget = kMaxCells;
    for (const xlsx::SheetEntry& entry : info.sheets) {
        const xlsx::Relationship* target = findById(relationships, entry.relationshipId);
        if (target == nullptr)
            throw ReadError(ReadErrorKind::MissingPart, {archive.path(), {}, entry.name, {}},
                            "of the sheet (relationship \"" + entry.relationshipId + "\")");
        if (!xlsx::hasRole(*target, "worksheet")) continue;
        StoredWorksheet& sheet = book->addWorksheet(entry.name, entry.visibility);
        readInSheet(entry.name,
                    [&] { readWorksheetBin(archive, target->target, data, sheet, cellBudget); });
    }
    return book;
}

}  // namespace tabulon::workbook::xlsb
