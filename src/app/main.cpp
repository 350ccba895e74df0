// Starts Tabulon: the main window, and the event loop until it closes.
#include <QApplication>

#include "app/Program.h"

int main(int argc, char* argv[]) {
    QApplication qtApp(argc, argv);
    return tabulon::runProgram();
}
