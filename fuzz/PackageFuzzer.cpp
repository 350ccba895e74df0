// The zip package readers (xlsx, xlsm, xlsb, ods) from fuzzer input: a whole zip file when the
// input starts like one, else a package written from the entries the input lists.
#include <cstdint>

#include "FuzzInput.h"
#include "ReadEveryCell.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = tabulon::fuzz::scratchPath();
    tabulon::fuzz::writePackageInput(path, data, size);
    tabulon::fuzz::readEveryCell(path);
    return 0;
}
