// Compiling a format code: split into sections, lex and lay out each, find the text section.
#include "core/numfmt/FormatParser.h"

#include "core/numfmt/FormatLexer.h"
#include "core/numfmt/SectionLayout.h"

namespace tabulon::numfmt {

CompiledCode compileCode(std::string_view code) {
    CompiledCode compiled;
    std::vector<std::string_view> parts;
    if (code.empty() || !splitSections(code, parts) || parts.size() > 4) return compiled;
    bool quotedTextOnly = false;
    for (std::string_view part : parts) {
        LexedSection lexed;
        if (!lexSection(part, lexed) || !layoutSection(lexed)) return compiled;
        quotedTextOnly = lexed.section.kind == SectionKind::Literal && !lexed.hasBareLiteral;
        compiled.sections.push_back(std::move(lexed.section));
    }
    const auto count = static_cast<int>(compiled.sections.size());
    // A last section with @ is the text section; so is a lone section of quoted or escaped
    // text ("hi", \h\i), which the application shows for text too, unlike bare characters.
    const bool sharedWithNumbers = count == 1 && quotedTextOnly;
    if (count == 4 || compiled.sections.back().kind == SectionKind::Text || sharedWithNumbers) {
        compiled.textSection = count - 1;
    }
    compiled.numericCount = compiled.textSection >= 0 && !sharedWithNumbers ? count - 1 : count;
    for (int i = 0; i < compiled.numericCount; ++i) {
        const Section& s = compiled.sections[i];
        compiled.conditional = compiled.conditional || s.condition.present();
        compiled.dateTime = compiled.dateTime || s.kind == SectionKind::DateTime;
    }
    compiled.valid = true;
    return compiled;
}

}  // namespace tabulon::numfmt
