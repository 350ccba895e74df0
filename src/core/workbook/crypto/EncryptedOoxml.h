// Opening the OOXML package inside an encrypted compound file.
#pragma once

#include <memory>
#include <string>

#include "core/workbook/PasswordSource.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::crypto {

// The decrypted package of the compound file at the path, read segment by segment. The default
// password is tried first, then those of the source. Throws ReadError: PasswordProtected,
// PasswordIncorrect, UnsupportedFormat for a scheme not handled, DamagedContainer for a damaged
// description or a failed integrity check.
std::unique_ptr<ZipArchive> openEncryptedPackage(const std::string& path,
                                                 PasswordSource* passwords);

}  // namespace tabulon::workbook::crypto
