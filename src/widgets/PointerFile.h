// Loads a pointer image (.cur or .ico) from a file into a cursor.
#pragma once

#include <QCursor>
#include <QString>
#include <optional>

namespace tabulon {

// The cursor drawn by the file, with the hot spot that a .cur file names (the centre for an
// icon); nothing when the file is missing or not a readable image.
std::optional<QCursor> loadPointerFile(const QString& path);

}  // namespace tabulon
