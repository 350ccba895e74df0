// The part readers of Excel binary workbooks (.xlsb): an OOXML package whose parts are record
// streams.
#pragma once

#include <memory>

#include "core/workbook/package/PackageParts.h"

namespace tabulon::workbook::xlsb {

std::unique_ptr<package::PackageParts> binaryParts();

}  // namespace tabulon::workbook::xlsb
