// The error trap: reporting, going on after a failure, conditionals, untrapped callees.
#include <gtest/gtest.h>

#include "ScriptedUi.h"
#include "core/Error.h"
#include "core/ErrorTrap.h"

namespace tabulon {
namespace {

TEST(ErrorTrap, ReportsFailingStatementAndContinuesWithTheNext) {
    testing::ScriptedUi ui;
    ErrorTrap trap(ui, "Form1.Form_Load");
    std::vector<int> ran;
    trap.run(100, [&] { ran.push_back(100); });
    trap.run(102, [&] { throw Error("File not found"); });
    trap.run(104, [&] { ran.push_back(104); });

    EXPECT_EQ(ran, (std::vector<int>{100, 104}));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].label, "Form1.Form_Load");
    EXPECT_EQ(ui.errors[0].line, 102);
    EXPECT_EQ(ui.errors[0].description, "File not found");
    EXPECT_EQ(trap.errorCount(), 1);
}

TEST(ErrorTrap, BoxTextIsBuiltInTheFixedOrder) {
    const std::string text = errorBoxText({"Form1.PushButton2_Click", 108, "Type mismatch"});
    EXPECT_EQ(text,
              "Type mismatch\r\nin Vexmoor2/19/2015.Form1.PushButton2_Click at line 108\r\r"
              "Please email screenshot of this message to support@quillmark.example");
}

TEST(ErrorTrap, FailingConditionEntersTheGuardedBranch) {
    testing::ScriptedUi ui;
    ErrorTrap trap(ui, "Excel1.SaveEachSheet");
    bool entered = false;
    if (trap.test(110, []() -> bool { throw Error("Object required"); })) entered = true;
    EXPECT_TRUE(entered);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].line, 110);

    EXPECT_FALSE(trap.test(112, [] { return false; }));
    EXPECT_TRUE(trap.test(114, [] { return true; }));
    EXPECT_EQ(ui.errors.size(), 1u);
}

// A routine without a trap of its own: its first failure abandons the rest of it.
void untrappedCallee(std::vector<std::string>& log) {
    log.push_back("callee start");
    throw Error("Subscript out of range");
    log.push_back("callee rest");  // never reached
}

TEST(ErrorTrap, FailureInUntrappedCalleeAbandonsTheCalleeAndIsReportedAtTheCall) {
    testing::ScriptedUi ui;
    ErrorTrap trap(ui, "Main.Caller");
    std::vector<std::string> log;
    trap.run(100, [&] { untrappedCallee(log); });
    trap.run(102, [&] { log.push_back("caller next"); });
    EXPECT_EQ(log, (std::vector<std::string>{"callee start", "caller next"}));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].line, 100);
    EXPECT_EQ(ui.errors[0].description, "Subscript out of range");
}

TEST(ErrorTrap, StandardLibraryFailuresAreTrappedToo) {
    testing::ScriptedUi ui;
    ErrorTrap trap(ui, "Main.Test");
    trap.run(100, [] { (void)std::string().at(3); });
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].line, 100);
}

}  // namespace
}  // namespace tabulon
