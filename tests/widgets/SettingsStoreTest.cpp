// The settings store: defaults for absent keys, persistence, one section for every key.
#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>

#include "SettingsSandbox.h"
#include "widgets/SettingsStore.h"

namespace tabulon {
namespace {

TEST(SettingsStore, AbsentKeysReadAsTheDefaultAndReadingCreatesNothing) {
    testing::SettingsSandbox sandbox;
    SettingsStore store;
    EXPECT_EQ(store.get(kKeyDirections, "Save all sheets to a CSV file"),
              "Save all sheets to a CSV file");
    EXPECT_EQ(store.get(kKeyExtension, ""), "");
    EXPECT_TRUE(QDir(sandbox.path())
                    .entryList(QDir::Files | QDir::AllDirs | QDir::NoDotAndDotDot)
                    .isEmpty());
}

TEST(SettingsStore, SavedValuesSurviveANewStoreAndAreReplacedBySaving) {
    testing::SettingsSandbox sandbox;
    SettingsStore{}.save(kKeyOutputFolder, "/home/user/out/");
    EXPECT_EQ(SettingsStore{}.get(kKeyOutputFolder, "x"), "/home/user/out/");
    SettingsStore{}.save(kKeyOutputFolder, "/home/user/out2");
    EXPECT_EQ(SettingsStore{}.get(kKeyOutputFolder, "x"), "/home/user/out2");
    SettingsStore{}.save(kKeyOutputFolder, "");
    EXPECT_EQ(SettingsStore{}.get(kKeyOutputFolder, "x"), "");
}

TEST(SettingsStore, ValuesLiveUnderQuillmarkInSectionTabulon) {
    testing::SettingsSandbox sandbox;
    SettingsStore{}.save(kKeyDirections, "Save each row to a CSV file");
    QSettings file(sandbox.path() + "/Quillmark/Tabulon.ini", QSettings::IniFormat);
    EXPECT_EQ(file.value("Tabulon/Directions").toString(), "Save each row to a CSV file");
}

TEST(SettingsStore, KeepsNonAsciiTextExactly) {
    testing::SettingsSandbox sandbox;
    const std::string folder = "/home/j\xC3\xB6rg/\xE2\x82\xAC uro/";
    SettingsStore{}.save(kKeyOutputFolder, folder);
    EXPECT_EQ(SettingsStore{}.get(kKeyOutputFolder, ""), folder);
}

}  // namespace
}  // namespace tabulon
