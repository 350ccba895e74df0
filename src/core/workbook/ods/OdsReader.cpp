// Reading an OpenDocument package: the manifest for encryption, styles.xml, then content.xml.
#include "core/workbook/ods/OdsReader.h"

#include "core/workbook/StoredWorkbook.h"
#include "core/workbook/crypto/OdfDecryption.h"
#include "core/workbook/ods/ContentParser.h"
#include "core/workbook/ods/OdsStyles.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::ods {

std::unique_ptr<Workbook> readOds(ZipArchive& archive, PasswordSource* passwords) {
    const ReadErrorPlace place{archive.path(), {}, {}, {}};
    // Text documents, drawings and presentations are OpenDocument packages too.
    if (archive.contains("mimetype") &&
        !archive.readAll("mimetype").starts_with("application/vnd.oasis.opendocument.spreadsheet"))
        throw ReadError(ReadErrorKind::NotAWorkbook, place);
    if (archive.contains("META-INF/manifest.xml"))
        crypto::unlockOdfPackage(archive, crypto::readOdfManifest(archive), passwords);
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
