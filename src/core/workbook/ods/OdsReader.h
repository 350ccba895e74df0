// The reader of OpenDocument spreadsheets (.ods).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/workbook/PasswordSource.h"
#include "core/workbook/Workbook.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::ods {

// How tables are read: by the table scanner, with expat for what it leaves, or by expat alone
// (which tests hold the scanner against).
enum class TablePath { Scanner, Expat };

struct OdsReadOptions {
    TablePath tablePath = TablePath::Scanner;
    // When set, receives the path that read each table, in the order they are read.
    std::vector<TablePath>* pathsTaken = nullptr;
    // Tables whose content has at least this many bytes are read in two halves at once.
    std::uint64_t halvedSize = std::uint64_t{8} << 20;
    // When set, counts the tables read in two halves.
    std::size_t* halvesJoined = nullptr;
};

// Reads every table of the package as a worksheet, hidden ones too; the entries of an encrypted
// package are decrypted with a password from the source (which may be null). Opening reads the
// styles and finds the tables in content.xml, reading the first table meanwhile; each other
// table's cells are read when its worksheet is asked for, going on forward through content.xml,
// and a table that cannot be read fails alone.
// Throws ReadError, of the PasswordProtected or PasswordIncorrect kind for an encrypted package
// not opened.
std::unique_ptr<Workbook> readOds(std::unique_ptr<ZipArchive> archive,
                                  PasswordSource* passwords = nullptr,
                                  const OdsReadOptions& options = {});

}  // namespace tabulon::workbook::ods
