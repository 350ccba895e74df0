// Finding a package's entries through its relationships, then reading them with the format's
// readers; each worksheet when it is asked for.
#include "core/workbook/package/PackageReader.h"

#include "core/workbook/StoredWorkbook.h"
#include "core/workbook/package/Relationships.h"

namespace tabulon::workbook::package {

namespace {

const Relationship* findById(const std::vector<Relationship>& relationships,
                             const std::string& id) {
    for (const Relationship& r : relationships)
        if (r.id == id) return &r;
    return nullptr;
}

class PackageReader : public WorkbookReader {
  public:
    PackageReader(std::unique_ptr<ZipArchive> archive, std::string workbookPart,
                  std::unique_ptr<PackageFormat> format)
        : archive_(std::move(archive)),
          workbookPart_(std::move(workbookPart)),
          format_(std::move(format)) {}

    std::vector<WorksheetEntry> open(WorkbookData& book) override {
        ZipArchive& archive = *archive_;
        if (!archive.contains(workbookPart_))
            throw ReadError(ReadErrorKind::MissingPart, placeInFile(archive.path()), workbookPart_);
        const WorkbookPart info = format_->readWorkbookPart(archive, workbookPart_);
        // A main relationship that names the relationships part or a worksheet would otherwise
        // give a workbook without sheets, and an export that says nothing.
        if (!info.isWorkbook)
            throw ReadError(ReadErrorKind::NotAWorkbookPart, placeInFile(archive.path()),
                            workbookPart_);
        const auto relationships = readRelationships(archive, workbookPart_);

        book.date1904 = info.date1904;
        const Relationship* styles = findByRole(relationships, "styles");
        // Without styles the workbook gives every cell the General format.
        if (styles != nullptr && archive.contains(styles->target))
            book.cellFormats = format_->readCellFormats(archive, styles->target);
        if (const Relationship* strings = findByRole(relationships, "sharedStrings");
            strings != nullptr && archive.contains(strings->target))
            format_->readSharedStrings(archive, strings->target, book.sharedStrings);

        std::vector<WorksheetEntry> worksheets;
        for (const SheetEntry& entry : info.sheets) {
            const Relationship* target = findById(relationships, entry.relationshipId);
            if (target == nullptr)
                throw ReadError(ReadErrorKind::MissingPart, placeInFile(archive.path(), entry.name),
                                "of the sheet (relationship \"" + entry.relationshipId + "\")");
            if (!hasRole(*target, "worksheet")) continue;
            worksheets.push_back({entry.name, entry.visibility});
            sheetTargets_.push_back(target->target);
        }
        return worksheets;
    }

    std::unique_ptr<StoredWorksheet> readWorksheet(std::size_t index, const WorksheetEntry& entry,
                                                   const WorkbookData& book) override {
        auto sheet = std::make_unique<StoredWorksheet>(book, entry.name, entry.visibility);
        format_->readWorksheet(*archive_, sheetTargets_.at(index), book, *sheet);
        return sheet;
    }

  private:
    std::unique_ptr<ZipArchive> archive_;
    std::string workbookPart_;
    std::unique_ptr<PackageFormat> format_;
    std::vector<std::string> sheetTargets_;  // of each worksheet, in order
};

}  // namespace

std::string findWorkbookPart(ZipArchive& archive) {
    const auto relationships = readRelationships(archive, "");
    if (const Relationship* office = findByRole(relationships, "officeDocument"))
        return office->target;
    if (archive.contains("xl/workbook.xml")) return "xl/workbook.xml";
    throw ReadError(ReadErrorKind::NotAWorkbook, placeInFile(archive.path()));
}

std::unique_ptr<Workbook> openPackage(std::unique_ptr<ZipArchive> archive, std::string workbookPart,
                                      std::unique_ptr<PackageFormat> format) {
    std::string path = archive->path();
    return openWorkbook(std::move(path),
                        std::make_unique<PackageReader>(std::move(archive), std::move(workbookPart),
                                                        std::move(format)));
}

}  // namespace tabulon::workbook::package
