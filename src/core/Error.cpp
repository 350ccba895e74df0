// File errors carry the system's own text for the error number.
#include "core/Error.h"

#include <cstring>

namespace tabulon {

FileError systemFileError(int errorNumber, const std::string& path) {
    return FileError(std::strerror(errorNumber), path, errorNumber);
}

}  // namespace tabulon
