// Wires the windows to their services and runs the program until the main window closes.
#pragma once

namespace tabulon {

int runProgram();

}  // namespace tabulon
