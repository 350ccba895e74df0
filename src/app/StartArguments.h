// The window's program arguments: paths for the file list, --help, --version, and usage errors.
#pragma once

#include <QString>
#include <QStringList>

namespace tabulon {

struct StartArguments {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    QStringList paths;  // for Run: the paths to put in the file list, in order
    QString message;    // for UsageError: what is wrong
};

// Reads the arguments (without the program's name). "-h", "--help", "-v" and "--version" ask
// for the help or the version; any other argument that begins with "-" (but "-" alone) is a
// usage error; "--" ends the options, so later paths may begin with "-". With lenient set,
// unknown options are passed over: before Qt has taken out its own options (-platform, -style)
// only --help and --version are looked for.
StartArguments parseStartArguments(const QStringList& arguments, bool lenient = false);

// The text of --help.
QString startHelpText();
// The text of --version: "tabulon VERSION" and a line end.
QString startVersionText();

}  // namespace tabulon
