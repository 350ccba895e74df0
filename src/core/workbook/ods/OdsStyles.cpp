// Cell styles, table styles and data styles collected and resolved into format codes.
#include "core/workbook/ods/OdsStyles.h"

#include <cstring>
#include <vector>

namespace tabulon::workbook::ods {

namespace {

// Parent chains longer than this are loops or damage.
constexpr int kMaxParentDepth = 32;
// A spreadsheet format code holds two conditions before its last sections.
constexpr std::size_t kMaxConditions = 2;

std::string withoutSpaces(std::string_view text) {
    std::string out;
    for (const char c : text)
        if (c != ' ') out += c;
    return out;
}

// "value()>=0" -> "[>=0]"; empty for conditions that are no simple comparison.
std::string bracketCondition(std::string_view condition) {
    std::string text = withoutSpaces(condition);
    if (!text.starts_with("value()")) return {};
    text.erase(0, 7);
    for (const char* op : {">=", "<=", "!=", "<>", "=", "<", ">"}) {
        if (!text.starts_with(op)) continue;
        const std::string number = text.substr(std::strlen(op));
        if (number.empty() || number.find_first_not_of("+-.0123456789eE") != std::string::npos)
            return {};
        return "[" + std::string(std::strcmp(op, "!=") == 0 ? "<>" : op) + number + "]";
    }
    return {};
}

// Feeds office:styles and office:automatic-styles of a styles part to the styles.
class StylesHandler : public xml::XmlHandler {
  public:
    explicit StylesHandler(OdsStyles& styles) : styles_(styles) {}
    void startElement(std::string_view name, const xml::XmlAttributes& attributes) override {
        ++depth_;
        if (inside_ != 0) {
            styles_.startElement(name, attributes);
            wantText = styles_.wantsText();
        } else if (name == "styles" || name == "automatic-styles") {
            inside_ = depth_;
        }
    }
    void endElement(std::string_view name) override {
        if (inside_ == depth_) {
            inside_ = 0;
        } else if (inside_ != 0) {
            styles_.endElement(name);
            wantText = styles_.wantsText();
        }
        --depth_;
    }
    void characters(std::string_view text) override { styles_.characters(text); }

  private:
    OdsStyles& styles_;
    int depth_ = 0;
    int inside_ = 0;
};

}  // namespace

void readStylesPart(ZipArchive& archive, std::string_view part, OdsStyles& styles) {
    StylesHandler handler(styles);
    xml::parseXmlPart(archive, part, handler);
}

void OdsStyles::startElement(std::string_view name, const xml::XmlAttributes& attributes) {
    if (builder_) {
        builder_->startChild(name, attributes);
        return;
    }
    DataStyleKind kind;
    if (dataStyleKindOf(name, kind)) {
        const char* styleName = attributes.find("name");
        builderName_ = styleName != nullptr ? styleName : "";
        builder_.emplace(kind, attributes);
        return;
    }
    if (name == "style" || name == "default-style") {
        const char* family = attributes.find("family");
        const char* styleName = attributes.find("name");
        tableStyle_.clear();
        if (family == nullptr) return;
        const std::string key = name == "default-style" ? "" : styleName ? styleName : "";
        ++definitions_;
        if (std::strcmp(family, "table-cell") == 0) {
            const char* parent = attributes.find("parent-style-name");
            const char* data = attributes.find("data-style-name");
            cellStyles_[key] = {parent ? parent : "", data ? data : ""};
        } else if (std::strcmp(family, "table") == 0 && !key.empty()) {
            tableStyle_ = key;
            hiddenTables_.erase(key);
        }
        return;
    }
    if (name == "table-properties" && !tableStyle_.empty()) {
        const char* display = attributes.find("display");
        if (display != nullptr && std::strcmp(display, "false") == 0) {
            hiddenTables_.insert(tableStyle_);
            ++definitions_;
        }
    }
}

void OdsStyles::endElement(std::string_view name) {
    if (!builder_) {
        if (name == "style") tableStyle_.clear();
        return;
    }
    DataStyleKind kind;
    if (dataStyleKindOf(name, kind)) {
        dataStyles_[builderName_] = builder_->finish();
        ++definitions_;
        builder_.reset();
        return;
    }
    builder_->endChild(name);
}

std::vector<std::string> OdsStyles::cellStyleNames() const {
    std::vector<std::string> names;
    names.reserve(cellStyles_.size());
    for (const auto& [name, style] : cellStyles_) names.push_back(name);
    return names;
}

std::string OdsStyles::formatCode(std::string_view cellStyle) const {
    std::string name(cellStyle);
    for (int depth = 0; depth < kMaxParentDepth && !name.empty(); ++depth) {
        const auto found = cellStyles_.find(name);
        if (found == cellStyles_.end()) break;
        if (!found->second.dataStyle.empty()) return dataStyleCode(found->second.dataStyle);
        name = found->second.parent;
    }
    // A style chain without a data style ends at the document's default cell style.
    for (const char* fallback : {"Default", ""}) {
        const auto found = cellStyles_.find(fallback);
        if (found != cellStyles_.end() && !found->second.dataStyle.empty())
            return dataStyleCode(found->second.dataStyle);
    }
    return "General";
}

std::string OdsStyles::dataStyleCode(std::string_view dataStyle) const {
    const auto found = dataStyles_.find(std::string(dataStyle));
    if (found == dataStyles_.end()) return "General";
    const DataStyle& style = found->second;
    const std::string own = style.code.empty() ? "General" : style.code;
    if (style.kind == DataStyleKind::Boolean || style.maps.empty()) return own;

    // The conditional styles are single sections; their own conditions do not nest.
    std::vector<std::string> conditions;
    std::vector<std::string> sections;
    for (const StyleMap& map : style.maps) {
        if (sections.size() == 3) break;
        const auto target = dataStyles_.find(map.styleName);
        sections.push_back(target == dataStyles_.end() ? "General" : target->second.code);
        conditions.push_back(withoutSpaces(map.condition));
    }
    // The usual order (positive, negative, zero) is written as plain sections.
    const bool usual = (conditions[0] == "value()>=0" || conditions[0] == "value()>0") &&
                       (conditions.size() < 2 || conditions[1] == "value()<0") &&
                       (conditions.size() < 3 || conditions[2] == "value()=0");
    std::string code;
    if (usual) {
        for (const std::string& section : sections) code += section + ";";
        return code + own;
    }
    for (std::size_t i = 0; i < sections.size() && i < kMaxConditions; ++i)
        code += bracketCondition(style.maps[i].condition) + sections[i] + ";";
    return code + own;
}

}  // namespace tabulon::workbook::ods
