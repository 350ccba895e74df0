// The expat glue: callbacks into the handler, exceptions carried across the C library.
#include "core/workbook/xlsx/XmlPartParser.h"

#include <expat.h>

#include <cstring>
#include <exception>
#include <memory>

namespace tabulon::workbook::xlsx {

namespace {

struct ParseState {
    XML_Parser parser;
    XmlHandler& handler;
    std::exception_ptr failure;
    bool doctype = false;
};

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

void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto& state = *static_cast<ParseState*>(data);
    state.doctype = true;
    XML_StopParser(state.parser, XML_FALSE);
}

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

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

void parseXmlPart(ZipArchive& archive, std::string_view part, XmlHandler& handler) {
    std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate(nullptr));
    ParseState state{parser.get(), handler, nullptr};
    XML_SetUserData(parser.get(), &state);
    XML_SetElementHandler(parser.get(), onStart, onEnd);
    XML_SetCharacterDataHandler(parser.get(), onCharacters);
    XML_SetStartDoctypeDeclHandler(parser.get(), onDoctype);

    auto fail = [&](std::string detail) {
        throw ReadError(ReadErrorKind::DamagedXml, {archive.path(), std::string(part), {}, {}},
                        std::move(detail));
    };
    auto checked = [&](XML_Status status) {
        if (state.failure) std::rethrow_exception(state.failure);
        if (state.doctype) fail("it declares a document type, which workbook parts never do");
        if (status == XML_STATUS_ERROR) {
            fail(std::string(XML_ErrorString(XML_GetErrorCode(parser.get()))) + " at line " +
                 std::to_string(XML_GetCurrentLineNumber(parser.get())));
        }
    };
    archive.read(part, [&](const char* data, std::size_t n) {
        checked(XML_Parse(parser.get(), data, static_cast<int>(n), XML_FALSE));
    });
    checked(XML_Parse(parser.get(), nullptr, 0, XML_TRUE));
}

}  // namespace tabulon::workbook::xlsx
