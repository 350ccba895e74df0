// The reader of OpenDocument spreadsheets (.ods).
#pragma once

#include <memory>

#include "core/workbook/PasswordSource.h"
#include "core/workbook/Workbook.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::ods {

// Reads every table of the package as a worksheet, hidden ones too; the entries of an encrypted
// package are decrypted with a password from the source (which may be null). All tables sit in
// one content entry with the cell styles they use, so they are read together when the workbook
// opens; each is handed over, and its cells let go of, as for the other formats. Throws
// ReadError, of the PasswordProtected or PasswordIncorrect kind for an encrypted package not
// opened.
std::unique_ptr<Workbook> readOds(std::unique_ptr<ZipArchive> archive,
                                  PasswordSource* passwords = nullptr);

}  // namespace tabulon::workbook::ods
