// Wires the windows to their services and runs the program until the main window closes.
#pragma once

#include <QStringList>

namespace tabulon {

// Shows the main window with the given workbooks and folders in its list, added as a drop
// adds them, and runs until the program ends.
int runProgram(const QStringList& paths);

}  // namespace tabulon
