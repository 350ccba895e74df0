// The entry readers of Excel binary workbooks (.xlsb): an OOXML package whose entries are
// record streams.
#pragma once

#include <memory>

#include "core/workbook/package/PackageFormat.h"

namespace tabulon::workbook::xlsb {

std::unique_ptr<package::PackageFormat> binaryFormat();

}  // namespace tabulon::workbook::xlsb
