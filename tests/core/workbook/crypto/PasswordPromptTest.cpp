// The window's password box: asked after the default password, at most three times, Cancel
// leaves the workbook protected.
#include <gtest/gtest.h>

#include "EncryptedTestFiles.h"
#include "ScriptedUi.h"
#include "core/ui/PasswordPrompt.h"
#include "core/workbook/Session.h"

namespace tabulon {
namespace {

using workbook::ReadError;
using workbook::ReadErrorKind;
using workbook::testing::kEncryptedData;
using workbook::testing::kTestPassword;

const std::string kFile = (kEncryptedData / "agile-sha256-aes128.xlsx").string();

ReadErrorKind openFailure(testing::ScriptedUi& ui) {
    PasswordPrompt prompt(ui);
    try {
        workbook::OpenInNewExcel(kFile, &prompt);
    } catch (const ReadError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "the workbook opened";
    return ReadErrorKind::NotAWorkbook;
}

TEST(PasswordPromptTest, TheRightPasswordOpensTheWorkbookAfterOneBox) {
    testing::ScriptedUi ui;
    ui.passwords = {kTestPassword};
    PasswordPrompt prompt(ui);
    const auto app = workbook::OpenInNewExcel(kFile, &prompt);
    EXPECT_EQ(app->workbooks().count(), 1);
    ASSERT_EQ(ui.passwordBoxes.size(), 1u);
    EXPECT_EQ(ui.passwordBoxes[0].title, "Tabulon");
    EXPECT_EQ(ui.passwordBoxes[0].text, passwordPromptText(kFile, 1));
    EXPECT_NE(ui.passwordBoxes[0].text.find(kFile), std::string::npos);
}

TEST(PasswordPromptTest, ThreeWrongPasswordsAreIncorrectAndAFourthIsNeverAsked) {
    testing::ScriptedUi ui;
    ui.passwords = {"one", "two", "three", kTestPassword};
    EXPECT_EQ(openFailure(ui), ReadErrorKind::PasswordIncorrect);
    ASSERT_EQ(ui.passwordBoxes.size(), 3u);
    EXPECT_EQ(ui.passwordBoxes[1].text, passwordPromptText(kFile, 2));
    EXPECT_NE(ui.passwordBoxes[1].text.find("The password is incorrect"), std::string::npos);
}

TEST(PasswordPromptTest, CancelLeavesTheWorkbookProtected) {
    testing::ScriptedUi ui;  // no scripted password: the box is cancelled
    EXPECT_EQ(openFailure(ui), ReadErrorKind::PasswordProtected);
    EXPECT_EQ(ui.passwordBoxes.size(), 1u);

    testing::ScriptedUi afterAWrongOne;
    afterAWrongOne.passwords = {"wrong", std::nullopt};
    EXPECT_EQ(openFailure(afterAWrongOne), ReadErrorKind::PasswordProtected);
    EXPECT_EQ(afterAWrongOne.passwordBoxes.size(), 2u);
}

TEST(PasswordPromptTest, TheDefaultPasswordNeverShowsTheBox) {
    testing::ScriptedUi ui;
    PasswordPrompt prompt(ui);
    workbook::OpenInNewExcel((kEncryptedData / "default-password.xlsx").string(), &prompt);
    workbook::OpenInNewExcel((kEncryptedData / "plain.xlsx").string(), &prompt);
    EXPECT_TRUE(ui.passwordBoxes.empty());
}

}  // namespace
}  // namespace tabulon
