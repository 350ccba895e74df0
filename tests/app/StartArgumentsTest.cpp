// The window's program arguments: --help and --version answered without a window, other
// options refused, and "--" before paths that begin with "-".
#include <gtest/gtest.h>

#include <QProcess>

#include "app/StartArguments.h"

namespace tabulon {
namespace {

using Action = StartArguments::Action;

TEST(StartArgumentsTest, OptionsAndPathsAreToldApart) {
    const struct {
        QStringList arguments;
        bool lenient;
        Action action;
        QStringList paths;
    } cases[] = {
        {{"a.xlsx", "-", "b.ods"}, false, Action::Run, {"a.xlsx", "-", "b.ods"}},
        {{"a.xlsx", "--help"}, false, Action::Help, {}},
        {{"-h"}, false, Action::Help, {}},
        {{"-v"}, false, Action::Version, {}},
        {{"--version", "a.xlsx"}, false, Action::Version, {}},
        {{"--", "-x.xlsx", "--help"}, false, Action::Run, {"-x.xlsx", "--help"}},
        {{"--bogus", "a.xlsx"}, false, Action::UsageError, {}},
        {{"-hv"}, false, Action::UsageError, {}},
        // Before Qt takes its own options out, only --help and --version are looked for.
        {{"-platform", "offscreen", "--help"}, true, Action::Help, {}},
        {{"-reverse", "a.xlsx"}, true, Action::Run, {"a.xlsx"}},
    };
    for (const auto& c : cases) {
        const StartArguments start = parseStartArguments(c.arguments, c.lenient);
        EXPECT_EQ(start.action, c.action) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(start.paths, c.paths) << c.arguments.join(' ').toStdString();
    }
    EXPECT_EQ(parseStartArguments({"--bogus"}).message, "Unknown option 'bogus'.");
}

TEST(StartArgumentsTest, TheProgramAnswersWithoutAWindow) {
    const struct {
        QStringList arguments;
        int exitCode;
        QString out;
        QString err;
    } cases[] = {
        {{"--help"}, 0, startHelpText(), ""},
        {{"--version"}, 0, "tabulon " TABULON_VERSION "\n", ""},
        {{"--bogus"}, 2, "", "tabulon: Unknown option 'bogus'.\n\nUsage: tabulon"},
    };
    for (const auto& c : cases) {
        QProcess program;
        program.start(TABULON_APP, c.arguments);
        ASSERT_TRUE(program.waitForFinished(30000)) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(program.exitCode(), c.exitCode);
        EXPECT_EQ(QString::fromLocal8Bit(program.readAllStandardOutput()), c.out);
        // Qt may say something of its own on stderr first.
        EXPECT_TRUE(QString::fromLocal8Bit(program.readAllStandardError()).contains(c.err));
    }
    EXPECT_TRUE(startHelpText().startsWith("Usage: tabulon [options] [PATH...]\n"));
}

}  // namespace
}  // namespace tabulon
