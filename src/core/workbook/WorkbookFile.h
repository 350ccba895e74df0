// Opening a workbook file with the reader that its leading bytes call for.
#pragma once

#include <memory>
#include <string>

#include "core/workbook/PasswordSource.h"
#include "core/workbook/Workbook.h"

namespace tabulon::workbook {

enum class FileKind { Zip, CompoundFile, LegacyBiff, Unknown };

// The container that the first bytes of a file announce.
FileKind fileKindOf(const unsigned char* bytes, std::size_t size);

// Opens the workbook (its worksheets are read when asked for); an encrypted one is opened with the
// default password or one of the source's (which may be null). Throws ReadError (a tabulon::Error)
// with a clear description when the file is missing, unreadable, damaged, protected, opened with
// none of the passwords, of an unsupported format or no workbook.
std::unique_ptr<Workbook> readWorkbookFile(const std::string& path,
                                           PasswordSource* passwords = nullptr);

}  // namespace tabulon::workbook
