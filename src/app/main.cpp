// Starts Tabulon: the main window with the workbooks named by the arguments in its list, and
// the event loop until it closes.
#include <QApplication>

#include "app/Program.h"

int main(int argc, char* argv[]) {
    QApplication qtApp(argc, argv);
    // Lets the desktop match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quillmark.Tabulon"));
    // Qt has taken its own options (-platform, -style, ...) out of the arguments already.
    return tabulon::runProgram(QApplication::arguments().mid(1));
}
