// Hand-made OpenDocument spreadsheet packages for the reader's tests.
#pragma once

#include <string>

#include "XlsxPackage.h"

namespace tabulon::workbook::testing {

inline constexpr const char* kOdsNamespaces =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
    " xmlns:number=\"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\""
    " xmlns:loext=\"urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0\""
    " xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\"";

// styles.xml holding the given office:styles content.
inline std::string odsStylesPart(const std::string& styles) {
    return std::string("<?xml version=\"1.0\"?><office:document-styles") + kOdsNamespaces +
           "><office:styles>" + styles + "</office:styles></office:document-styles>";
}

// A package whose content.xml has these automatic styles and this office:spreadsheet content
// (tables, calculation settings) after this XML declaration; styles.xml holds the given
// office:styles content.
inline tabulon::testing::XlsxPackage odsPackage(
    const std::string& spreadsheet, const std::string& automaticStyles = {},
    const std::string& styles = {}, const std::string& declaration = "<?xml version=\"1.0\"?>") {
    tabulon::testing::XlsxPackage package;
    package.setPart("mimetype", "application/vnd.oasis.opendocument.spreadsheet");
    package.setPart("META-INF/manifest.xml",
                    "<?xml version=\"1.0\"?><manifest:manifest xmlns:manifest=\"urn:oasis:names:"
                    "tc:opendocument:xmlns:manifest:1.0\"><manifest:file-entry "
                    "manifest:full-path=\"/\" manifest:media-type=\"application/"
                    "vnd.oasis.opendocument.spreadsheet\"/></manifest:manifest>");
    package.setPart("styles.xml", odsStylesPart(styles));
    package.setPart(
        "content.xml",
        declaration + "<office:document-content" + kOdsNamespaces + "><office:automatic-styles>" +
            automaticStyles + "</office:automatic-styles><office:body><office:spreadsheet>" +
            spreadsheet + "</office:spreadsheet></office:body></office:document-content>");
    return package;
}

}  // namespace tabulon::workbook::testing
