// The encoding that result texts are written in.
#include "core/export/TextEncoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>

#include "core/util/Utf16.h"

namespace tabulon {
namespace {

// One iconv descriptor from UTF-8.
class Converter {
  public:
    explicit Converter(const std::string& to) : cd_(::iconv_open(to.c_str(), "UTF-8")) {}
    ~Converter() {
        if (ok()) ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Appends the whole text, from the initial shift state back to it; false (with `out` cut
    // back) when a character cannot be converted, or only by replacing it.
    bool convert(std::string_view in, std::string& out) {
        const std::size_t start = out.size();
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        std::size_t used = start;
        for (;;) {
            out.resize(used + inLeft * 4 + 16);
            char* outPtr = out.data() + used;
            std::size_t outLeft = out.size() - used;
            // With the input all taken, the shift back to the initial state is written.
            const bool flushing = inLeft == 0;
            const std::size_t result = flushing ? ::iconv(cd_, nullptr, nullptr, &outPtr, &outLeft)
                                                : ::iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            used = static_cast<std::size_t>(outPtr - out.data());
            if (result == static_cast<std::size_t>(-1) && errno == E2BIG) continue;
            // Failed, or converted "in a nonreversible way": a replacement.
            if (result != 0) {
                out.resize(start);
                return false;
            }
            if (flushing) break;
        }
        out.resize(used);
        return true;
    }

  private:
    iconv_t cd_;
};

// Each thread converts with descriptors of its own: a descriptor holds a shift state.
Converter& converterFor(const std::string& to) {
    thread_local std::map<std::string, std::unique_ptr<Converter>> converters;
    auto& converter = converters[to];
    if (!converter) converter = std::make_unique<Converter>(to);
    return *converter;
}

bool isAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

std::optional<TextEncoding> TextEncoding::named(const std::string& name) {
    TextEncoding encoding;
    encoding.name_ = name;
    const std::string key = lowered(name);
    if (key == "utf-8" || key == "utf8") return encoding;
    if (key == "utf-8-bom" || key == "utf8-bom") {
        encoding.byteOrderMark_ = "\xEF\xBB\xBF";
        return encoding;
    }
    if (key == "utf-16" || key == "utf16") {
        encoding.iconvName_ = "UTF-16LE";
        encoding.byteOrderMark_ = "\xFF\xFE";
        return encoding;
    }
    if (key.empty() || key.find('/') != std::string::npos) return std::nullopt;
    Converter& converter = converterFor(name);
    if (!converter.ok()) return std::nullopt;
    encoding.iconvName_ = name;
    // An encoding for text files holds every ASCII character: the separators and line ends.
    std::string ascii;
    for (int c = 1; c < 0x80; ++c) ascii += static_cast<char>(c);
    std::string one;
    std::string two;
    std::string asciiOut;
    if (!converter.convert("a", one) || !converter.convert("aa", two) ||
        !converter.convert(ascii, asciiOut) || two.size() > 2 * one.size() ||
        two.size() <= one.size())
        return std::nullopt;
    encoding.prefixSize_ = 2 * one.size() - two.size();
    encoding.byteOrderMark_ = one.substr(0, encoding.prefixSize_);
    encoding.asciiAsIs_ = asciiOut == ascii;
    return encoding;
}

std::optional<char32_t> TextEncoding::append(std::string& out, std::string_view utf8) const {
    if (!converts() || (asciiAsIs_ && isAscii(utf8))) {
        out += utf8;
        return std::nullopt;
    }
    Converter& converter = converterFor(iconvName_);
    const std::size_t start = out.size();
    if (converter.convert(utf8, out)) {
        if (prefixSize_ > 0 && out.compare(start, prefixSize_, byteOrderMark_) == 0)
            out.erase(start, prefixSize_);
        return std::nullopt;
    }
    // The first character that fails on its own; a byte that starts no UTF-8 sequence fails.
    std::string one;
    for (const char32_t c : decodeUtf8(utf8)) {
        if (c >= 0xDC80 && c <= 0xDCFF) return char32_t{0xFFFD};
        one.clear();
        appendCodePoint(one, c);
        std::string scratch;
        if (!converter.convert(one, scratch)) return c;
    }
    return char32_t{0xFFFD};
}

std::string characterForMessage(char32_t c) {
    std::string text = "\"";
    appendCodePoint(text, c);
    char code[16];
    std::snprintf(code, sizeof code, "\" (U+%04X)", static_cast<unsigned>(c));
    return text + code;
}

}  // namespace tabulon
