// The expat glue: callbacks into the handler, exceptions carried across the C library.
#include "core/workbook/xml/XmlPartParser.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace tabulon::workbook::xml {

struct XmlStream::State {
    XML_Parser parser;
    XmlHandler& handler;
    std::uint64_t firstLine = 1;
    std::exception_ptr failure;
    std::string encoding;
    bool doctype = false;
    bool failed = false;
};

namespace {

using ParseState = XmlStream::State;

void stopWith(ParseState& state, std::exception_ptr failure) {
    state.failure = std::move(failure);
    XML_StopParser(state.parser, XML_FALSE);
}

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& state = *static_cast<ParseState*>(data);
    try {
        state.handler.startElement(localName(name), XmlAttributes(attributes));
    } catch (...) {
        stopWith(state, std::current_exception());
    }
}

void XMLCALL onEnd(void* data, const XML_Char* name) {
    auto& state = *static_cast<ParseState*>(data);
    try {
        state.handler.endElement(localName(name));
    } catch (...) {
        stopWith(state, std::current_exception());
    }
}

void XMLCALL onCharacters(void* data, const XML_Char* text, int length) {
    auto& state = *static_cast<ParseState*>(data);
    if (!state.handler.wantText) return;
    try {
        state.handler.characters(std::string_view(text, static_cast<std::size_t>(length)));
    } catch (...) {
        stopWith(state, std::current_exception());
    }
}

void XMLCALL onXmlDeclaration(void* data, const XML_Char*, const XML_Char* encoding, int) {
    if (encoding != nullptr) static_cast<ParseState*>(data)->encoding = encoding;
}

void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto& state = *static_cast<ParseState*>(data);
    state.doctype = true;
    XML_StopParser(state.parser, XML_FALSE);
}

}  // namespace

const char* XmlAttributes::find(std::string_view name) const {
    for (const char** a = list_; *a != nullptr; a += 2)
        if (localName(a[0]) == name) return a[1];
    return nullptr;
}

std::string_view localName(const char* qualifiedName) {
    const char* colon = std::strrchr(qualifiedName, ':');
    return colon == nullptr ? std::string_view(qualifiedName) : std::string_view(colon + 1);
}

XmlStream::XmlStream(XmlHandler& handler, std::uint64_t firstLine)
    : state_(std::make_unique<State>(
          State{XML_ParserCreate(nullptr), handler, firstLine, nullptr, {}})) {
    XML_Parser parser = state_->parser;
    XML_SetUserData(parser, state_.get());
    XML_SetElementHandler(parser, onStart, onEnd);
    XML_SetCharacterDataHandler(parser, onCharacters);
    XML_SetStartDoctypeDeclHandler(parser, onDoctype);
    XML_SetXmlDeclHandler(parser, onXmlDeclaration);
}

const std::string& XmlStream::declaredEncoding() const { return state_->encoding; }

XmlStream::~XmlStream() { XML_ParserFree(state_->parser); }

bool XmlStream::feed(const char* data, std::size_t size, bool last) {
    if (state_->failed) return false;
    constexpr std::size_t kLargestPiece = std::size_t{1} << 30;
    do {
        const std::size_t piece = std::min(size, kLargestPiece);
        const XML_Status status = XML_Parse(state_->parser, data, static_cast<int>(piece),
                                            last && piece == size ? XML_TRUE : XML_FALSE);
        if (state_->failure) std::rethrow_exception(std::exchange(state_->failure, nullptr));
        if (state_->doctype) {
            error_ = "it declares a document type, which workbook parts never do";
        } else if (status == XML_STATUS_ERROR) {
            error_ =
                std::string(XML_ErrorString(XML_GetErrorCode(state_->parser))) + " at line " +
                std::to_string(XML_GetCurrentLineNumber(state_->parser) + state_->firstLine - 1);
        }
        if (!error_.empty()) {
            state_->failed = true;
            return false;
        }
        data += piece;
        size -= piece;
    } while (size > 0);
    return true;
}

void parseXmlPart(ZipArchive& archive, std::string_view part, XmlHandler& handler) {
    XmlStream stream(handler);
    auto checked = [&](bool parsed) {
        if (!parsed)
            throw ReadError(ReadErrorKind::DamagedXml, {archive.path(), std::string(part), {}, {}},
                            stream.error());
    };
    archive.read(part, [&](const char* data, std::size_t n) { checked(stream.feed(data, n)); });
    checked(stream.feed(nullptr, 0, true));
}

}  // namespace tabulon::workbook::xml
