// The zip package readers (xlsx, xlsm, xlsb, ods) from fuzzer input: a whole zip file when the
// input starts like one, else a package written from the entries the input lists.
#include <cstdint>
#include <cstring>

#include "FuzzInput.h"
#include "ReadEveryCell.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = tabulon::fuzz::scratchPath();
    if (size >= 4 && std::memcmp(data, "PK\x03\x04", 4) == 0)
        tabulon::fuzz::writeWholeFile(path, data, size);
    else
        tabulon::fuzz::writePackage(path, data, size);
    tabulon::fuzz::readEveryCell(path);
    return 0;
}
