// Reading number formats and cell formats from the styles part.
#include "core/workbook/xlsx/Styles.h"

#include <cstdlib>
#include <map>
#include <string>

#include "core/workbook/CellFormats.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::xlsx {

namespace {

int formatIdOf(const xml::XmlAttributes& attributes) {
    const char* id = attributes.find("numFmtId");
    return id == nullptr ? 0 : std::atoi(id);
}

class StylesHandler : public xml::XmlHandler {
  public:
    void startElement(std::string_view name, const xml::XmlAttributes& attributes) override {
        ++depth_;
        // numFmt also appears inside differential formats; only the top-level list counts.
        if (name == "numFmts" && depth_ == 2) {
            inNumFmts_ = true;
        } else if (name == "cellXfs" && depth_ == 2) {
            inCellXfs_ = true;
        } else if (name == "numFmt" && inNumFmts_) {
            const char* code = attributes.find("formatCode");
            if (code != nullptr) customCodes[formatIdOf(attributes)] = code;
        } else if (name == "xf" && inCellXfs_ && depth_ == 3) {
            xfFormatIds.push_back(formatIdOf(attributes));
        }
    }
    void endElement(std::string_view name) override {
        if (name == "numFmts" && depth_ == 2) inNumFmts_ = false;
        if (name == "cellXfs" && depth_ == 2) inCellXfs_ = false;
        --depth_;
    }
    void characters(std::string_view) override {}

    std::map<int, std::string> customCodes;
    std::vector<int> xfFormatIds;

  private:
    int depth_ = 0;
    bool inNumFmts_ = false;
    bool inCellXfs_ = false;
};

}  // namespace

std::vector<numfmt::NumberFormat> readCellFormats(ZipArchive& archive, std::string_view part) {
    StylesHandler handler;
    xml::parseXmlPart(archive, part, handler);
    return compileCellFormats(handler.xfFormatIds, handler.customCodes);
}

}  // namespace tabulon::workbook::xlsx
