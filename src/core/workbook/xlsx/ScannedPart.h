// Reading a package entry with the content scanner: the content of one element (<sheetData>, <sst>)
// by the scanner, the markup around it by expat.
#pragma once

#include <string_view>

#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xlsx {

// Streams the package part: expat reads everything up to and after the first element named
// container (unprefixed), the scanner its content; both hand their events to the builder (as
// ContentScanner has it). Returns false when the package part holds markup that the scanner does
// not read, is not UTF-8, or is malformed or damaged anywhere; the builder has then taken part of
// the events and the entry must be read again by the general parser, which gives the verdict.
// Throws the builder's ReadError, and the container's for a missing or encrypted part.
template <class Builder>
bool scanPart(ZipArchive& archive, std::string_view part, std::string_view container,
              Builder& builder);

}  // namespace tabulon::workbook::xlsx
