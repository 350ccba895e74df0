// The window's program arguments: paths for the file list, --help, --version, and usage errors.
#include "app/StartArguments.h"

#include <QCommandLineParser>

namespace tabulon {
namespace {

const QCommandLineOption kHelp({"h", "help"}, "Show this help and exit.");
const QCommandLineOption kVersion({"v", "version"}, "Show the version and exit.");

// The one description of the arguments, for parsing and for the help text alike.
void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        "Tabulon turns spreadsheet workbooks into CSV files.\n"
        "Each PATH comes into the file list as a drop brings it: a workbook as given,\n"
        "a folder as every file of its whole tree. After -- every argument is a PATH,\n"
        "also one that begins with \"-\".");
    // "-help" is taken as "--help", and "-hv" is no pair of options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(kHelp);
    parser.addOption(kVersion);
    parser.addPositionalArgument("PATH", "a workbook, or a folder whose tree is searched",
                                 "[PATH...]");
}

}  // namespace

StartArguments parseStartArguments(const QStringList& arguments, bool lenient) {
    QCommandLineParser parser;
    describe(parser);
    const bool parsed = parser.parse(QStringList{"tabulon"} + arguments);
    StartArguments start;
    if (parser.isSet(kHelp)) {
        start.action = StartArguments::Action::Help;
    } else if (parser.isSet(kVersion)) {
        start.action = StartArguments::Action::Version;
    } else if (!parsed && !lenient) {
        start.action = StartArguments::Action::UsageError;
        start.message = parser.errorText();
    } else {
        start.paths = parser.positionalArguments();
    }
    return start;
}

QString startHelpText() {
    QCommandLineParser parser;
    describe(parser);
    // Qt names the program by the path it was started with, or "<executable_name>" before the
    // application object exists; the help says "tabulon" either way.
    QString text = parser.helpText();
    const qsizetype afterName = text.indexOf(" [options]");
    if (afterName > 0) text.replace(0, afterName, "Usage: tabulon");
    return text;
}

QString startVersionText() { return QStringLiteral("tabulon " TABULON_VERSION "\n"); }

}  // namespace tabulon
