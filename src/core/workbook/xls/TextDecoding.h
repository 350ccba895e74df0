// Turning the 8-bit text of BIFF records into UTF-8 through its code page.
#pragma once

#include <iconv.h>

#include <memory>
#include <string>
#include <string_view>

namespace tabulon::workbook::xls {

// 8-bit text of the files before BIFF8, in the code page that their CODEPAGE record names.
class CodePage {
  public:
    // Windows code page numbers (1252, 1250, 1251, 932...), 10000 and 32768 for Mac Roman,
    // 32769 for 1252. Unknown numbers read as 1252.
    explicit CodePage(int id = 1252);

    std::string decode(std::string_view bytes) const;

  private:
    struct Closer {
        void operator()(void* cd) const;
    };
    std::unique_ptr<void, Closer> converter_;
};

}  // namespace tabulon::workbook::xls
