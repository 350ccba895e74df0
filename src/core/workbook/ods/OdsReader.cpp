// Reading an OpenDocument package: the manifest for encryption, styles.xml, then content.xml.
#include "core/workbook/ods/OdsReader.h"

#include "core/workbook/StoredWorkbook.h"
#include "core/workbook/crypto/OdfDecryption.h"
#include "core/workbook/ods/ContentParser.h"
#include "core/workbook/ods/OdsStyles.h"

namespace tabulon::workbook::ods {

namespace {

class OdsReader : public WorkbookReader {
  public:
    OdsReader(std::unique_ptr<ZipArchive> archive, PasswordSource* passwords)
        : archive_(std::move(archive)), passwords_(passwords) {}

    std::vector<WorksheetEntry> open(WorkbookData& book) override {
        ZipArchive& archive = *archive_;
        const ReadErrorPlace place{archive.path(), {}, {}, {}};
        // Text documents, drawings and presentations are OpenDocument packages too.
        if (archive.contains("mimetype") &&
            !archive.readAll("mimetype")
                 .starts_with("application/vnd.oasis.opendocument.spreadsheet"))
            throw ReadError(ReadErrorKind::NotAWorkbook, place);
        if (archive.contains("META-INF/manifest.xml"))
            crypto::unlockOdfPackage(archive, crypto::readOdfManifest(archive), passwords_);
        if (!archive.contains("content.xml"))
            throw ReadError(ReadErrorKind::MissingPart, place, "content.xml");

        OdsStyles styles;
        if (archive.contains("styles.xml")) readStylesPart(archive, "styles.xml", styles);
        readContent(archive, styles, book, sheets_);
        archive_.reset();  // every entry has been read

        std::vector<WorksheetEntry> entries;
        for (const auto& sheet : sheets_) entries.push_back({sheet->name(), sheet->visibility()});
        return entries;
    }

    std::unique_ptr<StoredWorksheet> readWorksheet(std::size_t index, const WorksheetEntry&,
                                                   const WorkbookData&) override {
        return std::move(sheets_.at(index));
    }

  private:
    std::unique_ptr<ZipArchive> archive_;
    PasswordSource* passwords_;
    std::vector<std::unique_ptr<StoredWorksheet>> sheets_;  // until each is asked for
};

}  // namespace

std::unique_ptr<Workbook> readOds(std::unique_ptr<ZipArchive> archive, PasswordSource* passwords) {
    std::string path = archive->path();
    return openWorkbook(std::move(path),
                        std::make_unique<OdsReader>(std::move(archive), passwords));
}

}  // namespace tabulon::workbook::ods
