// Encrypted OOXML: the description, the password, the integrity check, then the package.
#include "core/workbook/crypto/EncryptedOoxml.h"

#include "core/workbook/cfb/CompoundFile.h"
#include "core/workbook/crypto/DecryptedPackage.h"
#include "core/workbook/crypto/OfficeKeys.h"

namespace tabulon::workbook::crypto {

namespace {

[[noreturn]] void fail(ReadErrorKind kind, const std::string& path, std::string detail) {
    throw ReadError(kind, placeInFile(path), std::move(detail));
}

EncryptionInfo readInfo(const cfb::CompoundFile& file) {
    const auto index = file.findRootStream("EncryptionInfo");
    if (!index)
        fail(ReadErrorKind::DamagedContainer, file.path(), "its encryption description is missing");
    try {
        return parseEncryptionInfo(file.readStream(*index));
    } catch (const BadEncryptionXml& e) {
        throw ReadError(ReadErrorKind::DamagedXml, {file.path(), "EncryptionInfo", {}, {}},
                        e.what());
    } catch (const BadEncryptionInfo& e) {
        fail(ReadErrorKind::DamagedContainer, file.path(), e.what());
    } catch (const UnsupportedEncryption& e) {
        fail(ReadErrorKind::UnsupportedFormat, file.path(), e.what());
    }
}

std::optional<Bytes> keyFor(const EncryptionInfo& info, const std::string& password) {
    if (const auto* standard = std::get_if<StandardEncryption>(&info))
        return standardKey(*standard, password);
    return agileKey(std::get<AgileEncryption>(info), password);
}

}  // namespace

std::unique_ptr<ZipArchive> openEncryptedPackage(const cfb::CompoundFile& file,
                                                 PasswordSource* passwords) {
    const std::string& path = file.path();
    const auto index = file.findRootStream("EncryptedPackage");
    if (!index) fail(ReadErrorKind::DamagedContainer, path, "its encrypted package is missing");
    const EncryptionInfo info = readInfo(file);
    Bytes package = file.readStream(*index);

    Bytes key;
    unlockWorkbook(path, passwords, true, [&](const std::string& password) {
        auto found = keyFor(info, password);
        if (found) key = std::move(*found);
        return found.has_value();
    });

    std::optional<AgileKeyParameters> agile;
    if (const auto* a = std::get_if<AgileEncryption>(&info)) {
        if (!agileIntegrityHolds(*a, key, package))
            fail(ReadErrorKind::DamagedContainer, path,
                 "its encrypted package fails its integrity check");
        agile = a->keyData;
    }
    return std::make_unique<ZipArchive>(
        path, std::make_unique<DecryptedPackage>(path, std::move(package), key, std::move(agile)));
}

}  // namespace tabulon::workbook::crypto
