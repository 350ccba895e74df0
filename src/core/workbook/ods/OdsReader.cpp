// Reading an OpenDocument package: the manifest for encryption, styles.xml, then content.xml.
#include "core/workbook/ods/OdsReader.h"

#include "core/workbook/StoredWorkbook.h"
#include "core/workbook/ods/ContentParser.h"
#include "core/workbook/ods/OdsStyles.h"
#include "core/workbook/xlsx/XmlPartParser.h"

namespace tabulon::workbook::ods {

namespace {

// Finds manifest:encryption-data, which an encrypted part carries in the manifest.
class ManifestHandler : public xlsx::XmlHandler {
  public:
    void startElement(std::string_view name, const xlsx::XmlAttributes&) override {
        if (name == "encryption-data") encrypted = true;
    }
    void endElement(std::string_view) override {}
    void characters(std::string_view) override {}
    bool encrypted = false;
};

}  // namespace

std::unique_ptr<Workbook> readOds(ZipArchive& archive) {
    const ReadErrorPlace place{archive.path(), {}, {}, {}};
    // Text documents, drawings and presentations are OpenDocument packages too.
    if (archive.contains("mimetype") &&
        !archive.readAll("mimetype").starts_with("application/vnd.oasis.opendocument.spreadsheet"))
        throw ReadError(ReadErrorKind::NotAWorkbook, place);
    if (archive.contains("META-INF/manifest.xml")) {
        ManifestHandler manifest;
        xlsx::parseXmlPart(archive, "META-INF/manifest.xml", manifest);
        if (manifest.encrypted) throw ReadError(ReadErrorKind::PasswordProtected, place);
    }
    if (!archive.contains("content.xml"))
        throw ReadError(ReadErrorKind::MissingPart, place, "content.xml");

    OdsStyles styles;
    if (archive.contains("styles.xml")) {
        readStylesPart(archive, "styles.xml", styles);
    }
    auto book = std::make_unique<StoredWorkbook>();
    readContent(archive, styles, *book);
    return book;
}

}  // namespace tabulon::workbook::ods
