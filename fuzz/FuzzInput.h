// Turning fuzzer input into workbook files: whole files as they are, and zip packages from a list
// of entries, so that mutations reach the entries' content rather than break the zip's checksums.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tabulon::fuzz {

// A file of this process in the temporary folder (one name, written again for each input),
// removed when the process exits normally.
std::string scratchPath();

// Writes the bytes to the path as they are.
void writeWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size);

// Writes a zip package whose entries the input lists, in order: a name-length byte, the name,
// a little-endian 32-bit content length, the content. Lengths past the input's end are cut
// there. fuzz/make_seeds.py writes this form from real packages.
void writePackage(const std::string& path, const std::uint8_t* data, std::size_t size);

// Writes a zip package from the input: the input itself when it starts like a zip file, else the
// package whose entries it lists.
void writePackageInput(const std::string& path, const std::uint8_t* data, std::size_t size);

}  // namespace tabulon::fuzz
