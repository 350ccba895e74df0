// Picking the reader by the file's leading bytes, not by its extension.
#include "core/workbook/WorkbookFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/workbook/ReadError.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/cfb/CompoundFile.h"
#include "core/workbook/crypto/EncryptedOoxml.h"
#include "core/workbook/ods/OdsReader.h"
#include "core/workbook/package/PackageReader.h"
#include "core/workbook/xls/XlsReader.h"
#include "core/workbook/xlsb/XlsbFormat.h"
#include "core/workbook/xlsx/XlsxFormat.h"

namespace tabulon::workbook {

namespace {

[[noreturn]] void fail(ReadErrorKind kind, const std::string& path, std::string detail = {}) {
    throw ReadError(kind, placeInFile(path), std::move(detail));
}

// A binary workbook (.xlsb) shares the package layout but keeps its entries as records.
std::unique_ptr<Workbook> readPackage(std::unique_ptr<ZipArchive> archive) {
    std::string workbookPart = package::findWorkbookPart(*archive);
    auto format = workbookPart.ends_with(".bin") ? xlsb::binaryFormat() : xlsx::xmlFormat();
    return package::openPackage(std::move(archive), std::move(workbookPart), std::move(format));
}

std::unique_ptr<Workbook> readZip(const std::string& path, PasswordSource* passwords) {
    auto archive = std::make_unique<ZipArchive>(path);
    // OpenDocument packages name their type in a first, uncompressed "mimetype" entry.
    if (archive->contains("mimetype") &&
        archive->readAll("mimetype").starts_with("application/vnd.oasis.opendocument"))
        return ods::readOds(std::move(archive), passwords);
    return readPackage(std::move(archive));
}

std::unique_ptr<Workbook> readCompoundFile(const std::string& path, PasswordSource* passwords) {
    std::unique_ptr<ZipArchive> decrypted;
    {
        const cfb::CompoundFile file(path);
        // An encrypted OOXML package travels inside a compound file; any other compound file
        // must hold a BIFF workbook stream.
        if (!file.findRootStream("EncryptedPackage") && !file.findRootStream("EncryptionInfo"))
            return xls::readXls(file, passwords);
        decrypted = crypto::openEncryptedPackage(file, passwords);
    }
    // The compound file is let go before the decrypted package is read.
    return readPackage(std::move(decrypted));
}

}  // namespace

FileKind fileKindOf(const unsigned char* bytes, std::size_t size) {
    if (size >= 4 && bytes[0] == 'P' && bytes[1] == 'K' &&
        ((bytes[2] == 3 && bytes[3] == 4) || (bytes[2] == 5 && bytes[3] == 6)))
        return FileKind::Zip;
    if (size >= 8 && std::memcmp(bytes, cfb::kSignature, 8) == 0) return FileKind::CompoundFile;
    // A BIFF2-4 file is a bare stream of records that starts with a BOF record.
    if (size >= 4 && bytes[0] == 0x09 &&
        (bytes[1] == 0x00 || bytes[1] == 0x02 || bytes[1] == 0x04 || bytes[1] == 0x08) &&
        bytes[3] == 0x00)
        return FileKind::LegacyBiff;
    return FileKind::Unknown;
}

std::unique_ptr<Workbook> readWorkbookFile(const std::string& path, PasswordSource* passwords) {
    // "Not found" only when the path names nothing; a path that cannot be followed (a folder
    // without search permission, a loop of links) gives the system's reason.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        fail(ReadErrorKind::FileNotFound, path);
    if (ec) throw unreadableFile(path, ec.value());
    if (!std::filesystem::is_regular_file(status)) fail(ReadErrorKind::NotAWorkbook, path);

    unsigned char lead[8] = {};
    errno = 0;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) throw unreadableFile(path, errno);
    const std::size_t got = std::fread(lead, 1, sizeof lead, in);
    const bool readFailed = std::ferror(in) != 0;
    const int readError = errno;
    std::fclose(in);
    if (readFailed) throw unreadableFile(path, readError);

    std::unique_ptr<Workbook> book;
    // A limit deep in the readers (the text budget) does not know the file it reads.
    readInPlace(path, {}, [&] {
        switch (fileKindOf(lead, got)) {
            case FileKind::Zip:
                book = readZip(path, passwords);
                break;
            case FileKind::CompoundFile:
                book = readCompoundFile(path, passwords);
                break;
            case FileKind::LegacyBiff:
                book = xls::readLegacyBiff(path);
                break;
            case FileKind::Unknown:
                break;
        }
    });
    if (book) return book;
    fail(ReadErrorKind::NotAWorkbook, path);
}

}  // namespace tabulon::workbook
