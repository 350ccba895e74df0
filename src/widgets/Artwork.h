// Images that the program draws itself: the application icon and the arrow icons.
#pragma once

#include <QIcon>
#include <QImage>

namespace tabulon {

enum class ArrowDirection { Up, Down };

// The application icon drawn at size x size pixels; needs no running application, so that the
// build can write the icon files from it.
QImage applicationIconImage(int size);
// The multi-size application icon.
QIcon applicationIcon();
// A 32 x 32 blue arrow.
QIcon arrowIcon(ArrowDirection direction);

}  // namespace tabulon
