// 8-bit code pages through iconv, with a fast path for plain ASCII.
#include "core/workbook/xls/TextDecoding.h"

#include <iconv.h>

#include <cerrno>
#include <string>

#include "core/util/Utf16.h"

namespace tabulon::workbook::xls {

namespace {

std::string iconvName(int id) {
    switch (id) {
        case 367:
        case 32769:
            return "CP1252";
        case 10000:
        case 32768:
            return "MACINTOSH";
        case 437:
        case 737:
        case 775:
        case 850:
        case 852:
        case 855:
        case 857:
        case 860:
        case 861:
        case 862:
        case 863:
        case 864:
        case 865:
        case 866:
        case 869:
        case 874:
        case 932:
        case 936:
        case 949:
        case 950:
        case 1250:
        case 1251:
        case 1252:
        case 1253:
        case 1254:
        case 1255:
        case 1256:
        case 1257:
        case 1258:
            return "CP" + std::to_string(id);
        case 1361:
            return "JOHAB";
        default:
            return "CP1252";
    }
}

}  // namespace

void CodePage::Closer::operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }

CodePage::CodePage(int id) {
    iconv_t cd = iconv_open("UTF-8", iconvName(id).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("UTF-8", "CP1252");
    if (cd != reinterpret_cast<iconv_t>(-1)) converter_.reset(cd);
}

std::string CodePage::decode(std::string_view bytes) const {
    std::string out;
    std::size_t ascii = 0;
    while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
    if (ascii == bytes.size() || !converter_) {
        // Without a converter the high bytes are taken as Latin-1.
        for (const char c : bytes) appendCodePoint(out, static_cast<unsigned char>(c));
        return out;
    }
    const auto cd = static_cast<iconv_t>(converter_.get());
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.resize(bytes.size() * 4 + 4);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) break;  // cannot happen: four bytes out for each byte in suffice
        // An invalid or cut-short sequence: one replacement character for its first byte.
        ++in;
        --inLeft;
        if (dstLeft < 3) break;
        *dst++ = static_cast<char>(0xEF);
        *dst++ = static_cast<char>(0xBF);
        *dst++ = static_cast<char>(0xBD);
        dstLeft -= 3;
    }
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace tabulon::workbook::xls
