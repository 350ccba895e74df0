// The scanned read of a part: locating the container element, the expat frame around it, and the
// scanner on its content.
#include "core/workbook/xlsx/ScannedPart.h"

#include <expat.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/workbook/xlsx/BuilderXmlHandler.h"
#include "core/workbook/xlsx/ContentScanner.h"
#include "core/workbook/xlsx/SharedStringsBuilder.h"
#include "core/workbook/xlsx/SheetBuilder.h"
#include "core/workbook/xml/ChunkedScan.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::xlsx {

namespace {

// The package part is to be read by the general parser.
struct FallBack {};

// Beyond this many bytes before the container the package part is left to the general parser,
// which streams it, rather than held whole.
constexpr std::size_t kMaxPrefix = std::size_t{16} << 20;

bool equalsIgnoringCase(const char* a, const char* b) {
    for (; *a != 0 && *b != 0; ++a, ++b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(*a) != lower(*b)) return false;
    }
    return *a == *b;
}

// Finds the byte where the content of the first container element begins, with a parser of its
// own that stops there.
class ContainerLocator {
  public:
    explicit ContainerLocator(std::string_view container)
        : parser_(XML_ParserCreate(nullptr)), container_(container) {
        XML_SetUserData(parser_, this);
        XML_SetStartElementHandler(parser_, onStart);
        XML_SetStartDoctypeDeclHandler(parser_, onDoctype);
        XML_SetXmlDeclHandler(parser_, onXmlDeclaration);
    }
    ~ContainerLocator() { XML_ParserFree(parser_); }
    ContainerLocator(const ContainerLocator&) = delete;
    ContainerLocator& operator=(const ContainerLocator&) = delete;

    // Parses the next bytes; true once the start tag has been seen.
    bool feed(const char* data, std::size_t size) {
        const XML_Status status = XML_Parse(parser_, data, static_cast<int>(size), XML_FALSE);
        if (found_) return true;
        if (refused_ || status == XML_STATUS_ERROR) throw FallBack{};
        return false;
    }
    std::uint64_t contentStart() const { return contentStart_; }

  private:
    static void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char**) {
        auto& self = *static_cast<ContainerLocator*>(data);
        if (xml::localName(name) != self.container_) return;
        // A prefixed container has prefixed content, which only expat reads.
        if (std::string_view(name) == self.container_) {
            self.found_ = true;
            self.contentStart_ = static_cast<std::uint64_t>(XML_GetCurrentByteIndex(self.parser_) +
                                                            XML_GetCurrentByteCount(self.parser_));
        } else {
            self.refused_ = true;
        }
        XML_StopParser(self.parser_, XML_FALSE);
    }
    static void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*,
                                  int) {
        auto& self = *static_cast<ContainerLocator*>(data);
        self.refused_ = true;
        XML_StopParser(self.parser_, XML_FALSE);
    }
    static void XMLCALL onXmlDeclaration(void* data, const XML_Char*, const XML_Char* encoding,
                                         int) {
        auto& self = *static_cast<ContainerLocator*>(data);
        if (encoding != nullptr && !equalsIgnoringCase(encoding, "UTF-8")) {
            self.refused_ = true;
            XML_StopParser(self.parser_, XML_FALSE);
        }
    }

    XML_Parser parser_;
    std::string_view container_;
    bool found_ = false;
    bool refused_ = false;
    std::uint64_t contentStart_ = 0;
};

template <class Builder>
class PartScan {
  public:
    PartScan(Builder& builder, std::string_view container)
        : handler_(builder),
          frame_(handler_),
          locator_(container),
          scanner_(builder, container),
          chunks_(scanner_) {}

    void consume(const char* data, std::size_t size) {
        switch (phase_) {
            case Phase::Prefix:
                return consumePrefix(data, size);
            case Phase::Content:
                return consumeContent(data, size);
            case Phase::Suffix:
                return feedFrame(data, size);
        }
    }

    void finish() {
        if (phase_ == Phase::Content) {
            if (const auto rest = chunks_.finish()) {
                phase_ = Phase::Suffix;
                feedFrame(rest->carried);
            }
        }
        if (phase_ != Phase::Suffix || !frame_.feed(nullptr, 0, true)) throw FallBack{};
    }

  private:
    enum class Phase { Prefix, Content, Suffix };

    void feedFrame(const char* data, std::size_t size) {
        if (!frame_.feed(data, size)) throw FallBack{};
    }
    void feedFrame(std::string_view bytes) { feedFrame(bytes.data(), bytes.size()); }

    void consumePrefix(const char* data, std::size_t size) {
        // UTF-16 text (by its byte order mark or its zero bytes) is left to expat.
        if (prefix_.empty() && size > 0 &&
            (data[0] == 0 || data[0] == '\xFE' || data[0] == '\xFF' || (size > 1 && data[1] == 0)))
            throw FallBack{};
        prefix_.append(data, size);
        if (!locator_.feed(data, size)) {
            if (prefix_.size() > kMaxPrefix) throw FallBack{};
            return;
        }
        const std::size_t start = locator_.contentStart();
        if (start < 2 || start > prefix_.size()) throw FallBack{};
        const std::string prefix = std::move(prefix_);
        if (prefix[start - 2] == '/') {
            // An empty container (<sheetData/>): nothing to scan, expat reads the whole part.
            phase_ = Phase::Suffix;
            return feedFrame(prefix.data(), prefix.size());
        }
        feedFrame(prefix.data(), start);
        phase_ = Phase::Content;
        consumeContent(prefix.data() + start, prefix.size() - start);
    }

    void consumeContent(const char* data, std::size_t size) {
        if (const auto rest = chunks_.feed({data, size})) {
            phase_ = Phase::Suffix;
            feedFrame(rest->carried);
            feedFrame(rest->chunk);
        }
    }

    BuilderXmlHandler<Builder> handler_;
    xml::XmlStream frame_;  // the package part without the container's content
    ContainerLocator locator_;
    ContentScanner<Builder> scanner_;
    xml::ChunkedScan<ContentScanner<Builder>> chunks_;
    Phase phase_ = Phase::Prefix;
    std::string prefix_;  // the bytes up to the end of the container's start tag, and a little more
};

}  // namespace

template <class Builder>
bool scanPart(ZipArchive& archive, std::string_view part, std::string_view container,
              Builder& builder) {
    PartScan<Builder> scan(builder, container);
    try {
        archive.read(part, [&](const char* data, std::size_t size) { scan.consume(data, size); });
        scan.finish();
    } catch (const FallBack&) {
        return false;
    } catch (const UnsupportedMarkup&) {
        return false;
    } catch (const xml::TokenTooLong&) {
        return false;
    } catch (const ReadError& e) {
        // Damaged data may lie where expat would first have found malformed markup.
        if (e.kind() == ReadErrorKind::DamagedContainer || e.kind() == ReadErrorKind::TooLarge)
            return false;
        throw;
    }
    return true;
}

template bool scanPart(ZipArchive&, std::string_view, std::string_view, SheetBuilder&);
template bool scanPart(ZipArchive&, std::string_view, std::string_view, SharedStringsBuilder&);

}  // namespace tabulon::workbook::xlsx
