// Shared window routines: desktop folder, centring, colours and the optional skin.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <string>

class QWidget;

namespace tabulon {

// Stores the desktop folder's path with one trailing separator in folder and returns it; the
// home folder's when there is no desktop folder. Throws Error when neither can be found.
std::string GetSpecialFolderDir(std::string& folder);

// The top-left corner that centres a window of the given size on a screen of the given size;
// a window larger than the screen gets a negative position.
QPoint centeredPosition(QSize screen, QSize window);
void CenterForm(QWidget& window);

// Gives the window and its frames, labels, option buttons and check boxes the button-face
// colour; other controls keep theirs.
void SetFormColors(QWidget& window);

// When the skin file x/o.cjs stands in the program folder, switches the main window to the
// button-face colours. The skin component itself does not exist here, so nothing more happens.
void ApplySkin(QWidget& mainWindow, const QString& programFolder);

}  // namespace tabulon
