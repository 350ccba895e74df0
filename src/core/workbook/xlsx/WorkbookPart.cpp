// Reading the workbook part.
#include "core/workbook/xlsx/WorkbookPart.h"

#include <cstring>

#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::xlsx {

namespace {

class WorkbookHandler : public xml::XmlHandler {
  public:
    explicit WorkbookHandler(package::WorkbookPart& out) : out_(out) {}

    void startElement(std::string_view name, const xml::XmlAttributes& attributes) override {
        if (!rootSeen_) {
            rootSeen_ = true;
            out_.isWorkbook = name == "workbook";
        }
        if (name == "workbookPr") {
            out_.date1904 = isTrue(attributes.find("date1904"));
        } else if (name == "sheet") {
            package::SheetEntry entry;
            if (const char* v = attributes.find("name")) entry.name = v;
            if (const char* v = attributes.find("id")) entry.relationshipId = v;
            if (const char* v = attributes.find("state")) {
                if (std::strcmp(v, "hidden") == 0) entry.visibility = SheetVisibility::Hidden;
                if (std::strcmp(v, "veryHidden") == 0)
                    entry.visibility = SheetVisibility::VeryHidden;
            }
            out_.sheets.push_back(std::move(entry));
        }
    }
    void endElement(std::string_view) override {}
    void characters(std::string_view) override {}

  private:
    package::WorkbookPart& out_;
    bool rootSeen_ = false;
};

}  // namespace

bool isTrue(const char* value) {
    return value != nullptr && (std::strcmp(value, "1") == 0 || std::strcmp(value, "true") == 0);
}

package::WorkbookPart readWorkbookPart(ZipArchive& archive, std::string_view part) {
    package::WorkbookPart result;
    WorkbookHandler handler(result);
    xml::parseXmlPart(archive, part, handler);
    return result;
}

}  // namespace tabulon::workbook::xlsx
