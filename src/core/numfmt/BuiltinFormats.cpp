// The en-US codes of the built-in number format ids.
#include <array>

#include "core/numfmt/NumberFormat.h"

namespace tabulon::numfmt {

namespace {

constexpr std::array<std::string_view, 50> kCodes = {
    "General",
    "0",
    "0.00",
    "#,##0",
    "#,##0.00",
    "\"$\"#,##0_);\\(\"$\"#,##0\\)",
    "\"$\"#,##0_);[Red]\\(\"$\"#,##0\\)",
    "\"$\"#,##0.00_);\\(\"$\"#,##0.00\\)",
    "\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)",
    "0%",
    "0.00%",
    "0.00E+00",
    "# ?/?",
    "# ?\?/??",
    "m/d/yyyy",
    "d-mmm-yy",
    "d-mmm",
    "mmm-yy",
    "h:mm AM/PM",
    "h:mm:ss AM/PM",
    "h:mm",
    "h:mm:ss",
    "m/d/yyyy h:mm",
    "General",  // 23-26: no en-US code
    "General",
    "General",
    "General",
    "m/d/yyyy",  // 27-36: East Asian dates, shown as the short date in en-US
    "m/d/yyyy",
    "m/d/yyyy",
    "m/d/yyyy",
    "m/d/yyyy",
    "m/d/yyyy",
    "m/d/yyyy",
    "m/d/yyyy",
    "m/d/yyyy",
    "m/d/yyyy",
    "#,##0_);(#,##0)",
    "#,##0_);[Red](#,##0)",
    "#,##0.00_);(#,##0.00)",
    "#,##0.00_);[Red](#,##0.00)",
    "_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)",
    "_(\"$\"* #,##0_);_(\"$\"* \\(#,##0\\);_(\"$\"* \"-\"_);_(@_)",
    "_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"?\?_);_(@_)",
    "_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"?\?_);_(@_)",
    "mm:ss",
    "[h]:mm:ss",
    "mm:ss.0",
    "##0.0E+0",
    "@",
};

// Ids 50-81 (East Asian and Thai codes) show in en-US as the listed lower id.
int equivalentId(int id) {
    if (id >= 50 && id <= 58) return 14;
    if (id >= 59 && id <= 62) return id - 58;
    if (id == 67 || id == 68) return id - 58;
    if (id >= 69 && id <= 71) return id - 57;
    if (id >= 72 && id <= 75) return id - 58;
    if (id >= 76 && id <= 78) return id - 56;
    if (id >= 79 && id <= 81) return id - 34;
    return id;
}

}  // namespace

std::string_view builtinFormatCode(int id) {
    id = equivalentId(id);
    if (id < 0 || id >= static_cast<int>(kCodes.size())) return "General";
    return kCodes[static_cast<std::size_t>(id)];
}

}  // namespace tabulon::numfmt
