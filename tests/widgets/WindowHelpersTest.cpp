// Window helpers: centring arithmetic, the desktop folder, colours with and without the skin.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include "core/util/PathText.h"
#include "widgets/WindowHelpers.h"

namespace tabulon {
namespace {

TEST(CenterForm, CentresAndGoesNegativeForWindowsLargerThanTheScreen) {
    EXPECT_EQ(centeredPosition({1200, 800}, {400, 300}), QPoint(400, 250));
    EXPECT_EQ(centeredPosition({1200, 800}, {1200, 800}), QPoint(0, 0));
    EXPECT_EQ(centeredPosition({1200, 800}, {1400, 1000}), QPoint(-100, -100));
}

TEST(GetSpecialFolderDir, GivesTheDesktopOrTheHomeFolderWithOneTrailingSeparator) {
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir user;
    qputenv("HOME", user.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (user.path() + "/config").toLocal8Bit());
    const std::string separator(1, pathSeparator());
    std::string folder = "overwritten";
    // No desktop folder: the home folder stands in.
    EXPECT_EQ(GetSpecialFolderDir(folder),
              QDir::toNativeSeparators(user.path()).toStdString() + separator);
    ASSERT_TRUE(QDir(user.path()).mkdir("Desktop"));
    EXPECT_EQ(GetSpecialFolderDir(folder),
              QDir::toNativeSeparators(user.path() + "/Desktop").toStdString() + separator);
    EXPECT_EQ(folder, GetSpecialFolderDir(folder));
    qputenv("HOME", home);
    if (config.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", config);
}

class SkinTest : public ::testing::Test {
  protected:
    SkinTest() : frame(new QGroupBox(&window)), edit(new QLineEdit(&window)) {
        QPalette white = window.palette();
        white.setColor(QPalette::Window, Qt::white);
        window.setPalette(white);
        frame->setPalette(white);
        edit->setPalette(white);
    }
    QColor buttonFace() const { return window.palette().color(QPalette::Button); }

    QTemporaryDir programDir;
    QWidget window;
    QGroupBox* frame;
    QLineEdit* edit;
};

TEST_F(SkinTest, WithoutTheSkinFileEveryColourStaysAsDesigned) {
    ApplySkin(window, programDir.path());
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(frame->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(SkinTest, WithTheSkinFileWindowAndFramesTakeButtonFaceButOtherControlsDoNot) {
    ASSERT_TRUE(QDir(programDir.path()).mkpath("x"));
    QFile skin(programDir.path() + "/x/o.cjs");
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    skin.close();
    ApplySkin(window, programDir.path());
    EXPECT_EQ(window.palette().color(QPalette::Window), buttonFace());
    EXPECT_EQ(frame->palette().color(QPalette::Window), buttonFace());
    EXPECT_EQ(edit->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(SkinTest, AFolderNamedLikeTheSkinFileDoesNotCount) {
    ASSERT_TRUE(QDir(programDir.path()).mkpath("x/o.cjs"));
    ApplySkin(window, programDir.path());
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(Qt::white));
}

}  // namespace
}  // namespace tabulon
