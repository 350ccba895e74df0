// Opening the OOXML package inside an encrypted compound file.
#pragma once

#include <memory>
#include <string>

#include "core/workbook/PasswordSource.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/cfb/CompoundFile.h"

namespace tabulon::workbook::crypto {

// The decrypted package of the compound file, read segment by segment; it holds its own copy of
// the encrypted bytes, so the compound file may go once it is open. The default password is
// tried first, then those of the source. Throws ReadError: PasswordProtected, PasswordIncorrect,
// UnsupportedFormat for a scheme not handled, DamagedXml for a description that is bad XML,
// DamagedContainer for a missing stream, a description that cannot be followed or a failed
// integrity check.
std::unique_ptr<ZipArchive> openEncryptedPackage(const cfb::CompoundFile& file,
                                                 PasswordSource* passwords);

}  // namespace tabulon::workbook::crypto
