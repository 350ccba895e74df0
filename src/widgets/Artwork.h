// Images that the program draws itself: the application icon and the arrow icons.
#pragma once

#include <QIcon>

namespace tabulon {

enum class ArrowDirection { Up, Down };

// The multi-size application icon.
QIcon applicationIcon();
// A 32 x 32 blue arrow.
QIcon arrowIcon(ArrowDirection direction);

}  // namespace tabulon
