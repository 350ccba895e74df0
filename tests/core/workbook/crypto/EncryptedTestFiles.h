// The encrypted test workbooks and what the tests compare them by.
#pragma once

#include <filesystem>
#include <string>

#include "core/workbook/PasswordSource.h"
#include "core/workbook/ReadError.h"

namespace tabulon::workbook::testing {

inline const std::filesystem::path kEncryptedData =
    std::filesystem::path(TABULON_SOURCE_DIR) / "tests" / "data" / "encrypted";
inline constexpr const char* kTestPassword = "Tabulon-1";

// Every worksheet's name and the text of each cell of its used range, a line per row.
std::string workbookText(const std::filesystem::path& file, PasswordSource* passwords = nullptr);

// The kind of ReadError that reading the file throws; fails the test when it opens.
ReadErrorKind readFailure(const std::filesystem::path& file, PasswordSource* passwords,
                          std::string* message = nullptr);

}  // namespace tabulon::workbook::testing
