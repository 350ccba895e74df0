// Reading the shared string table.
#include "core/workbook/xlsx/SharedStrings.h"

#include <string>

#include "core/workbook/CellText.h"
#include "core/workbook/xml/EscapedText.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::xlsx {

namespace {

class SharedStringsHandler : public xml::XmlHandler {
  public:
    explicit SharedStringsHandler(StringPool& out) : out_(out) {}

    void startElement(std::string_view name, const xml::XmlAttributes&) override {
        if (name == "si") {
            inItem_ = true;
            text_.clear();
        } else if (name == "rPh") {
            ++phoneticDepth_;
        } else if (name == "t") {
            wantText = inItem_ && phoneticDepth_ == 0;
        }
    }
    void endElement(std::string_view name) override {
        if (name == "si") {
            xml::decodeEscapedCharacters(text_);
            out_.add(text_);
            inItem_ = false;
        } else if (name == "rPh") {
            --phoneticDepth_;
        } else if (name == "t") {
            wantText = false;
        }
    }
    void characters(std::string_view text) override { appendCellMarkup(text_, text); }

  private:
    StringPool& out_;
    std::string text_;
    bool inItem_ = false;
    int phoneticDepth_ = 0;
};

}  // namespace

void readSharedStrings(ZipArchive& archive, std::string_view part, StringPool& out) {
    SharedStringsHandler handler(out);
    xml::parseXmlPart(archive, part, handler);
    out.shrinkToFit();
}

}  // namespace tabulon::workbook::xlsx
