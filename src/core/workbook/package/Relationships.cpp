// Reading .rels parts and resolving their targets.
#include "core/workbook/package/Relationships.h"

#include <cstring>

#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::package {

namespace {

class RelationshipsHandler : public xml::XmlHandler {
  public:
    RelationshipsHandler(std::string_view source, std::vector<Relationship>& out)
        : source_(source), out_(out) {}

    void startElement(std::string_view name, const xml::XmlAttributes& attributes) override {
        if (name != "Relationship") return;
        const char* id = attributes.find("Id");
        const char* type = attributes.find("Type");
        const char* target = attributes.find("Target");
        const char* mode = attributes.find("TargetMode");
        if (id == nullptr || type == nullptr || target == nullptr) return;
        if (mode != nullptr && std::strcmp(mode, "External") == 0) return;
        out_.push_back({id, type, resolveTarget(source_, target)});
    }
    void endElement(std::string_view) override {}
    void characters(std::string_view) override {}

  private:
    std::string_view source_;
    std::vector<Relationship>& out_;
};

}  // namespace

std::vector<Relationship> readRelationships(ZipArchive& archive, std::string_view sourcePart) {
    const std::size_t slash = sourcePart.rfind('/');
    const std::string folder(slash == std::string_view::npos ? std::string_view()
                                                             : sourcePart.substr(0, slash + 1));
    const std::string fileName(slash == std::string_view::npos ? sourcePart
                                                               : sourcePart.substr(slash + 1));
    const std::string relsPart = folder + "_rels/" + fileName + ".rels";
    std::vector<Relationship> relationships;
    if (!archive.contains(relsPart)) return relationships;
    RelationshipsHandler handler(sourcePart, relationships);
    xml::parseXmlPart(archive, relsPart, handler);
    return relationships;
}

bool hasRole(const Relationship& relationship, std::string_view role) {
    const std::string_view type = relationship.type;
    return type.size() > role.size() && type.ends_with(role) &&
           type[type.size() - role.size() - 1] == '/';
}

const Relationship* findByRole(const std::vector<Relationship>& relationships,
                               std::string_view role) {
    for (const Relationship& r : relationships)
        if (hasRole(r, role)) return &r;
    return nullptr;
}

std::string resolveTarget(std::string_view sourcePart, std::string_view target) {
    std::string joined;
    if (!target.empty() && target.front() == '/') {
        joined = target.substr(1);
    } else {
        const std::size_t slash = sourcePart.rfind('/');
        if (slash != std::string_view::npos) joined = sourcePart.substr(0, slash + 1);
        joined += target;
    }
    // Drop "." segments and let ".." remove the segment before it.
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= joined.size()) {
        std::size_t end = joined.find_first_of("/\\", start);
        if (end == std::string::npos) end = joined.size();
        const std::string segment = joined.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string part;
    for (const std::string& segment : segments) {
        if (!part.empty()) part += '/';
        part += segment;
    }
    return part;
}

}  // namespace tabulon::workbook::package
