// "Load Sample/Example Files": the Samples folder beside the program and the question after it.
#include "FileListFixture.h"

namespace tabulon::testing {
namespace {

constexpr const char* kQuestion =
    "Would you like this software to open the folder where these sample files are stored (so "
    "that you can view them before working with them)?";

class SamplesTest : public FileListTest {
  protected:
    QString samples() const { return programDir.path() + "/Samples/"; }
    void sample(const QString& name) {
        QDir().mkpath(samples());
        QFile out(samples() + name);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    }
    QStringList sortedTexts() const {
        QStringList all = texts();
        all.sort();
        return all;
    }
};

TEST_F(SamplesTest, EveryFileOfTheFolderIsAppendedAndNoOpensNothing) {
    sample("Budget.xlsx");
    sample("~$Budget.xlsx");
    sample(".hidden.xlsx");
    sample("readme.txt");
    QDir().mkpath(samples() + "nested");
    fill({"first"});
    click(form->PushButton7);

    QStringList expected{"first", samples() + ".hidden.xlsx", samples() + "Budget.xlsx",
                         samples() + "readme.txt", samples() + "~$Budget.xlsx"};
    expected.sort();
    EXPECT_EQ(texts().front(), "first");
    EXPECT_EQ(sortedTexts(), expected);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, kQuestion);
    EXPECT_EQ(ui.boxes[0].buttons, Buttons::YesNo);
    EXPECT_EQ(ui.boxes[0].icon, Icon::None);
    EXPECT_EQ(ui.boxes[0].title, "Tabulon");
    EXPECT_TRUE(ui.openedFolders.empty());
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(SamplesTest, YesOpensTheSamplesFolderAndASecondClickAddsThemAgain) {
    sample("Budget.xlsx");
    ui.answers.push_back(Answer::Yes);
    click(form->PushButton7);
    click(form->PushButton7);
    EXPECT_EQ(texts(), QStringList({samples() + "Budget.xlsx", samples() + "Budget.xlsx"}));
    EXPECT_EQ(ui.openedFolders, std::vector<std::string>({samples().toStdString()}));
}

TEST_F(SamplesTest, WithoutASamplesFolderTheQuestionStillComes) {
    ui.answers.push_back(Answer::Yes);
    click(form->PushButton7);
    EXPECT_EQ(list->itemCount(), 0);
    EXPECT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.openedFolders, std::vector<std::string>({samples().toStdString()}));
    EXPECT_TRUE(ui.errors.empty());
}

}  // namespace
}  // namespace tabulon::testing
