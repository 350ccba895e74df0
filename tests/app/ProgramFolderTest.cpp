// Where the program finds its pointer files and samples: beside the executable, or in the data
// folder of an installation under a prefix.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/ProgramFolder.h"

namespace tabulon {
namespace {

class ProgramFolderTest : public ::testing::Test {
  protected:
    ProgramFolderTest() {
        prefix.mkpath("bin");
        bin = prefix.path() + "/bin";
        data = prefix.path() + "/share/tabulon";
    }

    static void touch(const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    }

    QTemporaryDir prefixFolder;
    QDir prefix{prefixFolder.path()};
    QString bin;
    QString data;
};

TEST_F(ProgramFolderTest, AnInstallUnderAPrefixFindsTheDataFolder) {
    ASSERT_TRUE(prefix.mkpath("share/tabulon/Samples"));
    EXPECT_EQ(programFolderFor(bin), QDir::toNativeSeparators(data));
    // The folder is a plain path, so names joined to it read well in the file list.
    EXPECT_FALSE(programFolderFor(bin).contains(".."));
}

TEST_F(ProgramFolderTest, ProgramFilesBesideTheExecutableComeFirst) {
    ASSERT_TRUE(prefix.mkpath("share/tabulon"));
    for (const char* name : {"HAND-M.CUR", "drag.ico"}) {
        touch(bin + "/" + name);
        EXPECT_EQ(programFolderFor(bin), bin) << name;
        ASSERT_TRUE(QFile::remove(bin + "/" + name));
    }
    EXPECT_EQ(programFolderFor(bin), QDir::toNativeSeparators(data));
    ASSERT_TRUE(prefix.mkpath("bin/Samples"));
    EXPECT_EQ(programFolderFor(bin), bin);
}

TEST_F(ProgramFolderTest, WithoutEitherTheExecutablesFolderStays) {
    EXPECT_EQ(programFolderFor(bin), bin);
    // A file where the data folder belongs is no folder.
    ASSERT_TRUE(prefix.mkpath("share"));
    touch(data);
    EXPECT_EQ(programFolderFor(bin), bin);
}

}  // namespace
}  // namespace tabulon
