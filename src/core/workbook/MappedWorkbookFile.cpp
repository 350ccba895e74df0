// Mapping a whole workbook file, with the readers' errors.
#include "core/workbook/MappedWorkbookFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>

#include "core/Error.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/ReadLimits.h"

namespace tabulon::workbook {

std::shared_ptr<const MappedFile> mapWorkbookFile(const std::string& path) {
    // The size is checked before anything is mapped.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) throw unreadableFile(path, errno);
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > kMaxDecompressedBytes)
        throw ReadError(ReadErrorKind::TooLarge, placeInFile(path), "the file's size");
    try {
        return MappedFile::open(path, 0, size);
    } catch (const FileError& e) {
        throw unreadableFile(path, e.errorNumber());
    }
}

}  // namespace tabulon::workbook
