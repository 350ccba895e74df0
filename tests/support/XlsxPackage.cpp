// Writing hand-made xlsx packages with libzip.
#include "XlsxPackage.h"

#include <zip.h>

#include <stdexcept>

namespace tabulon::testing {

namespace {

constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kPackageRels = "http://schemas.openxmlformats.org/package/2006/relationships";

std::string folderOf(const std::string& role) {
    if (role == "chartsheet") return "chartsheets";
    if (role == "dialogsheet") return "dialogsheets";
    if (role == "macrosheet") return "macrosheets";
    return "worksheets";
}

}  // namespace

XlsxPackage XlsxPackage::workbook(const std::vector<HandSheet>& sheets,
                                  const std::string& sharedStrings, const std::string& styles,
                                  bool date1904) {
    XlsxPackage package;
    package.setPart("[Content_Types].xml",
                    "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/"
                    "package/2006/content-types\"/>");
    package.setPart("_rels/.rels", std::string("<?xml version=\"1.0\"?><Relationships xmlns=\"") +
                                       kPackageRels + "\"><Relationship Id=\"rId1\" Type=\"" +
                                       kRelNs + "/officeDocument\" Target=\"xl/workbook.xml\"/>" +
                                       "</Relationships>");
    std::string workbook = std::string("<?xml version=\"1.0\"?><workbook xmlns=\"") + kMain +
                           "\" xmlns:r=\"" + kRelNs + "\">";
    if (date1904) workbook += "<workbookPr date1904=\"1\"/>";
    workbook += "<sheets>";
    std::string rels =
        std::string("<?xml version=\"1.0\"?><Relationships xmlns=\"") + kPackageRels + "\">";
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const HandSheet& sheet = sheets[i];
        const std::string id = "rIdS" + std::to_string(i + 1);
        const std::string target = folderOf(sheet.role) + "/sheet" + std::to_string(i + 1) + ".xml";
        workbook += "<sheet name=\"" + sheet.name + "\" sheetId=\"" + std::to_string(i + 1) + "\"" +
                    (sheet.state.empty() ? "" : " state=\"" + sheet.state + "\"") + " r:id=\"" +
                    id + "\"/>";
        rels += "<Relationship Id=\"" + id + "\" Type=\"" + kRelNs + "/" + sheet.role +
                "\" Target=\"" + target + "\"/>";
        package.setPart("xl/" + target,
                        sheet.wholePart
                            ? sheet.sheetData
                            : std::string("<?xml version=\"1.0\"?><worksheet xmlns=\"") + kMain +
                                  "\"><sheetData>" + sheet.sheetData + "</sheetData></worksheet>");
    }
    workbook += "</sheets></workbook>";
    if (!sharedStrings.empty()) {
        rels += std::string("<Relationship Id=\"rIdSST\" Type=\"") + kRelNs +
                "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
        package.setPart("xl/sharedStrings.xml",
                        std::string("<?xml version=\"1.0\"?><sst xmlns=\"") + kMain + "\">" +
                            sharedStrings + "</sst>");
    }
    if (!styles.empty()) {
        rels += std::string("<Relationship Id=\"rIdStyles\" Type=\"") + kRelNs +
                "/styles\" Target=\"styles.xml\"/>";
        package.setPart("xl/styles.xml",
                        std::string("<?xml version=\"1.0\"?><styleSheet xmlns=\"") + kMain + "\">" +
                            styles + "</styleSheet>");
    }
    rels += "</Relationships>";
    package.setPart("xl/workbook.xml", workbook);
    package.setPart("xl/_rels/workbook.xml.rels", rels);
    return package;
}

void XlsxPackage::write(const std::string& path) const {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) throw std::runtime_error("cannot create " + path);
    for (const auto& [name, content] : parts_) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        if (source == nullptr ||
            zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            throw std::runtime_error("cannot add " + name + " to " + path);
        }
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace tabulon::testing
