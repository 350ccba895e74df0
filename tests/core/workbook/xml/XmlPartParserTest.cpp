// XmlPartParser, which reads one XML entry of a package: names without prefixes, text only when
// asked for, pieces fed apart, document types refused, malformed XML reported with its line and
// the handler's exceptions passed on.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "XlsxPackage.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::xml {
namespace {

// Writes down every event: "<name attr=value>", "</name>" and the text.
class Recorder : public XmlHandler {
  public:
    void startElement(std::string_view name, const XmlAttributes& attributes) override {
        std::string event = "<" + std::string(name);
        for (const char* const* a = attributes.raw(); *a != nullptr; a += 2)
            event += " " + std::string(localName(a[0])) + "=" + a[1];
        events.push_back(event + ">");
        if (name == "t") wantText = true;
        if (name == "throw") throw std::runtime_error("from the handler");
    }
    void endElement(std::string_view name) override {
        wantText = false;
        events.push_back("</" + std::string(name) + ">");
    }
    void characters(std::string_view text) override {
        if (!events.empty() && events.back().front() != '<')
            events.back() += text;
        else
            events.emplace_back(text);
    }

    std::vector<std::string> events;
};

const std::string kDocument =
    "<?xml version=\"1.0\"?><x:root xmlns:x=\"urn:x\" x:a=\"1\" b=\"2\">skipped"
    "<x:t>kept &amp; whole</x:t>skipped too</x:root>";
// The parser does not resolve namespaces: a declaration is one more attribute.
const std::vector<std::string> kEvents = {"<root x=urn:x a=1 b=2>", "<t>", "kept & whole", "</t>",
                                          "</root>"};

TEST(XmlPartParserTest, NamesLoseTheirPrefixesAndOnlyWantedTextIsGiven) {
    Recorder recorder;
    XmlStream stream(recorder);
    ASSERT_TRUE(stream.feed(kDocument.data(), kDocument.size(), true)) << stream.error();
    EXPECT_EQ(recorder.events, kEvents);

    const char* list[] = {"x:a", "1", "b", "2", nullptr};
    const XmlAttributes attributes(list);
    EXPECT_STREQ(attributes.find("a"), "1");
    EXPECT_STREQ(attributes.find("b"), "2");
    EXPECT_EQ(attributes.find("x"), nullptr);
}

TEST(XmlPartParserTest, ADocumentFedByteByByteGivesTheSameEvents) {
    Recorder recorder;
    XmlStream stream(recorder);
    for (const char c : kDocument) ASSERT_TRUE(stream.feed(&c, 1)) << stream.error();
    ASSERT_TRUE(stream.feed(nullptr, 0, true)) << stream.error();
    EXPECT_EQ(recorder.events, kEvents);
}

TEST(XmlPartParserTest, ADocumentTypeIsRefusedBeforeItsEntitiesAreExpanded) {
    Recorder recorder;
    XmlStream stream(recorder);
    const std::string bomb =
        "<!DOCTYPE r [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]><r>&b;</r>";
    EXPECT_FALSE(stream.feed(bomb.data(), bomb.size(), true));
    EXPECT_EQ(stream.error(), "it declares a document type, which workbook parts never do");
    EXPECT_TRUE(recorder.events.empty());
    // The stream takes nothing more.
    EXPECT_FALSE(stream.feed("<r/>", 4, true));
}

TEST(XmlPartParserTest, PartsAreReadFromThePackageAndDamageNamesThePartAndLine) {
    tabulon::testing::ScratchFolder folder;
    tabulon::testing::XlsxPackage package;
    package.setPart("good.xml", kDocument);
    package.setPart("broken.xml", "<r>\n<a></b></r>");
    package.setPart("typed.xml", "<!DOCTYPE r><r/>");
    package.setPart("throws.xml", "<r><throw/></r>");
    const std::string path = folder.file("parts.zip");
    package.write(path);
    ZipArchive archive(path);

    Recorder recorder;
    parseXmlPart(archive, "good.xml", recorder);
    EXPECT_EQ(recorder.events, kEvents);

    for (const std::string part : {"broken.xml", "typed.xml"}) {
        try {
            Recorder ignored;
            parseXmlPart(archive, part, ignored);
            ADD_FAILURE() << part << " was read";
        } catch (const ReadError& e) {
            EXPECT_EQ(e.kind(), ReadErrorKind::DamagedXml);
            EXPECT_EQ(e.place().file, path);
            EXPECT_EQ(e.place().part, part);
            if (part == "broken.xml") {
                EXPECT_NE(e.detail().find("at line 2"), std::string::npos) << e.detail();
            }
        }
    }

    Recorder thrower;
    EXPECT_THROW(parseXmlPart(archive, "throws.xml", thrower), std::runtime_error);
}

}  // namespace
}  // namespace tabulon::workbook::xml
