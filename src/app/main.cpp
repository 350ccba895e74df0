// Starts Tabulon: the main window with the workbooks named by the arguments in its list, and
// the event loop until it closes; --help, --version and usage errors answered without a window.
#include <QApplication>
#include <cstdio>

#include "app/Program.h"
#include "app/StartArguments.h"

namespace {

using tabulon::StartArguments;

// Prints what the arguments ask for instead of a window; the exit status, or -1 to start.
int answerWithoutWindow(const StartArguments& start) {
    switch (start.action) {
        case StartArguments::Action::Help:
            std::fputs(tabulon::startHelpText().toLocal8Bit().constData(), stdout);
            return 0;
        case StartArguments::Action::Version:
            std::fputs(tabulon::startVersionText().toLocal8Bit().constData(), stdout);
            return 0;
        case StartArguments::Action::UsageError:
            std::fprintf(stderr, "tabulon: %s\n\n%s", start.message.toLocal8Bit().constData(),
                         tabulon::startHelpText().toLocal8Bit().constData());
            return 2;
        case StartArguments::Action::Run:
            break;
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    // --help and --version are answered before the window system starts, so that they work
    // without a display; Qt's own options are still among the arguments then.
    QStringList raw;
    for (int i = 1; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
    if (const int status = answerWithoutWindow(tabulon::parseStartArguments(raw, true));
        status >= 0)
        return status;

    QApplication qtApp(argc, argv);
    // Lets the desktop match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quillmark.Tabulon"));
    // Qt has taken its own options (-platform, -style, ...) out of the arguments by now.
    const StartArguments start = tabulon::parseStartArguments(QApplication::arguments().mid(1));
    if (const int status = answerWithoutWindow(start); status >= 0) return status;
    return tabulon::runProgram(start.paths);
}
