// Entry point of the window tests: a QApplication, offscreen, with private settings, a private
// temporary folder and a private runtime folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    // Without a runtime folder Qt makes one of its own in the system's temporary folder and
    // leaves it there; the programs that the tests start inherit this one.
    QTemporaryDir runtimeDir;
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    QApplication app(argc, argv);
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    // The export's temporary files go to a folder of this process's own, so that window tests
    // running side by side do not share them.
    QTemporaryDir tempDir;
    qputenv("TEMP", tempDir.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
