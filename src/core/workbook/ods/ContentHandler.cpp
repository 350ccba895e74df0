// Sorting the events of content.xml by where they lie: styles, the null date, tables.
#include "core/workbook/ods/ContentHandler.h"

#include <cstring>

namespace tabulon::workbook::ods {

void ContentHandler::startElement(std::string_view name, const xml::XmlAttributes& attributes) {
    ++depth_;
    if (reading_) {
        attributes_.clear();
        for (const char* const* a = attributes.raw(); *a != nullptr; a += 2)
            attributes_.push_back({a[0], xml::localName(a[0]), a[1]});
        reader_->startElement(name, attributes_);
        wantText = reader_->wantsText();
        return;
    }
    if (tableDepth_ != 0) return;
    if (stylesDepth_ != 0) {
        if (styles_ != nullptr) {
            styles_->startElement(name, attributes);
            wantText = styles_->wantsText();
        }
        return;
    }
    if (name == "automatic-styles" || name == "styles") {
        stylesDepth_ = depth_;
    } else if (name == "table") {
        tableDepth_ = depth_;
        startTable(attributes);
    } else if (name == "null-date") {
        const char* date = attributes.find("date-value");
        // Serial numbers count from 1904 when the document does; otherwise they follow the
        // 1900 system, whatever other day the document counts from.
        date1904_ = date != nullptr && std::string_view(date).starts_with("1904-01-01");
    }
}

void ContentHandler::startTable(const xml::XmlAttributes& attributes) {
    const std::size_t index = tablesSeen_++;
    if (reader_ != nullptr) {
        reading_ = index == wanted_;
        return;
    }
    if (tables_ == nullptr) return;
    const char* name = attributes.find("name");
    const char* style = attributes.find("style-name");
    const SheetVisibility visibility = style != nullptr && styles_->hidesTable(style)
                                           ? SheetVisibility::Hidden
                                           : SheetVisibility::Visible;
    tables_->push_back({name != nullptr ? name : "Sheet" + std::to_string(index + 1), visibility});
}

void ContentHandler::endElement(std::string_view name) {
    if (depth_ == tableDepth_) {
        tableDepth_ = 0;
        if (reading_) {
            reading_ = false;
            tableRead_ = true;
            wantText = false;
        }
    } else if (reading_) {
        reader_->endElement(name);
        wantText = reader_->wantsText();
    } else if (depth_ == stylesDepth_) {
        stylesDepth_ = 0;
    } else if (stylesDepth_ != 0 && tableDepth_ == 0 && styles_ != nullptr) {
        styles_->endElement(name);
        wantText = styles_->wantsText();
    }
    --depth_;
}

void ContentHandler::characters(std::string_view text) {
    if (reading_) {
        reader_->characters(text);
    } else if (styles_ != nullptr) {
        styles_->characters(text);
    }
}

}  // namespace tabulon::workbook::ods
