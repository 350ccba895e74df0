// A number format code, compiled once and then used to render many values.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tabulon::numfmt {

struct CompiledCode;

class NumberFormat {
  public:
    // Compiles a format code ("General", "0.00", "m/d/yyyy", ...). Never fails: a code that
    // cannot be parsed, or is longer than 255 characters, renders like General.
    static NumberFormat compile(std::string_view code);

    // True when the code shows dates or times.
    bool isDateTime() const;
    // The text shown for a number (a serial day number for date and time codes).
    std::string format(double value, bool date1904) const;
    // The text shown for a text cell (through the code's text section, if any).
    std::string formatText(std::string_view text) const;
    // The text shown for a boolean cell: "TRUE" or "FALSE", whatever the code.
    static std::string formatBoolean(bool value);

  private:
    explicit NumberFormat(std::shared_ptr<const CompiledCode> code) : code_(std::move(code)) {}
    std::shared_ptr<const CompiledCode> code_;
};

// The code of a built-in number format id (en-US); "General" for ids without one.
std::string_view builtinFormatCode(int id);

}  // namespace tabulon::numfmt
