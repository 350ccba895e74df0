// The reader of Excel 97-2003 workbooks (.xls: BIFF8, and BIFF5 from Excel 5 and 95) and of
// the bare BIFF2-4 worksheet files of Excel 2.1 to 4.0.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/workbook/PasswordSource.h"
#include "core/workbook/Workbook.h"
#include "core/workbook/cfb/CompoundFile.h"

namespace tabulon::workbook::xls {

// Opens the Workbook (or Book) stream of the compound file, decrypted first when it is
// encrypted (the default password, then those of the source, which may be null). Chart, macro,
// dialog and module sheets are not worksheets and are passed over. Throws ReadError, NotAWorkbook
// when the file holds neither stream.
std::unique_ptr<Workbook> readXls(const cfb::CompoundFile& file,
                                  PasswordSource* passwords = nullptr);

// Opens a BIFF stream: a workbook's globals (its worksheets are read when asked for), or a bare
// BIFF2-4 worksheet, which becomes the single worksheet "Sheet1". The path is for error messages;
// decrypted tells that an encrypted stream's records have been decrypted. Throws ReadError.
std::unique_ptr<Workbook> readBiffStream(const std::string& path, std::vector<unsigned char> stream,
                                         bool decrypted = false);

// Reads a bare BIFF2-4 file from disk.
std::unique_ptr<Workbook> readLegacyBiff(const std::string& path);

}  // namespace tabulon::workbook::xls
