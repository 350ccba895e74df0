// Opening the encrypted entries of an OpenDocument package: the key from the password, the
// checksum of each entry's first decrypted bytes, and decryption with inflation as the entry is
// read.
#pragma once

#include <map>
#include <string>

#include "core/workbook/PasswordSource.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/crypto/OdfManifest.h"

namespace tabulon::workbook::crypto {

// The entry's key: PBKDF2 with HMAC-SHA1 over the start key (the hash of the password's UTF-8
// bytes) and the entry's salt.
Bytes odfKey(const OdfEncryptedPart& part, const std::string& password);

// Decrypts a part's stored bytes as they come, checks the checksum once its first 1024 decrypted
// bytes are known (or at its end), then inflates them. Throws ReadError (damaged) for a failed
// checksum, bad padding or bad compressed data; the path and part name it.
std::unique_ptr<PartDecoder> odfPartDecoder(const OdfEncryptedPart& part, ByteView key,
                                            const std::string& path, const std::string& name);

// Finds the password (from the source only: OpenDocument has no default password) by checking
// it on the first bytes of styles.xml (else of content.xml, else of the smallest encrypted
// part), then makes the archive decode every encrypted part. Each password costs one key
// derivation for each set of derivation parameters among the entries read: entries that share
// salt and iteration count share their key, and the checked entry's key is used again. Throws
// ReadError: PasswordProtected, PasswordIncorrect, or damaged.
void unlockOdfPackage(ZipArchive& archive, const std::map<std::string, OdfEncryptedPart>& parts,
                      PasswordSource* passwords);

}  // namespace tabulon::workbook::crypto
