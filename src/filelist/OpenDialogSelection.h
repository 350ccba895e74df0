// The list entries for the files chosen in the open-file dialog.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tabulon {

// How many characters the dialog's result may hold: its folder, then a NUL and the name of
// each chosen file (a single file: its full path).
inline constexpr std::size_t kOpenDialogResultCapacity = 32767;

// The entries to append for the chosen files (full paths, all from one folder, in the dialog's
// order): a single file as given; several files each joined to their folder, without the
// doubled separator that joining a root folder leaves. Nothing when the choice does not fit
// the dialog's result.
std::optional<std::vector<std::string>> openDialogEntries(const std::vector<std::string>& chosen);

}  // namespace tabulon
