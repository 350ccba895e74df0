// The value of one cell as the engine hands it out.
#pragma once

#include <string>

namespace tabulon::workbook {

struct CellValue {
    enum class Kind { Empty, Number, Date, Text, Boolean, Error };

    Kind kind = Kind::Empty;
    double number = 0.0;  // Number, and Date as a serial day number
    std::string text;     // Text, and Error as its code ("#N/A")
    bool boolean = false;

    static CellValue makeNumber(double v) { return {Kind::Number, v, {}, false}; }
    static CellValue makeDate(double serial) { return {Kind::Date, serial, {}, false}; }
    static CellValue makeText(std::string t) { return {Kind::Text, 0.0, std::move(t), false}; }
    static CellValue makeBoolean(bool b) { return {Kind::Boolean, 0.0, {}, b}; }
    static CellValue makeError(std::string code) {
        return {Kind::Error, 0.0, std::move(code), false};
    }
};

}  // namespace tabulon::workbook
