// What tabulon-cli shows on the terminal: one line per failure, progress when stderr is a
// terminal, and notices.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "core/ui/Activity.h"
#include "core/ui/Dialogs.h"
#include "core/ui/ErrorReporter.h"

namespace tabulon::cli {

// Writes "tabulon-cli: TEXT" and a line end, the text's control characters escaped: paths and
// sheet names come from outside and must not steer the terminal or break the line.
void writeMessage(std::FILE* out, const std::string& text);

// The message of a failure of the workbook at the path: "FILE: reason", with "sheet NAME: "
// before the reason when there is a sheet. A reason that ends with the place the line already
// names (": FILE" or ": FILE, sheet NAME") loses that ending, and its sheet is the line's.
std::string workbookMessage(const std::string& file, std::string sheet, std::string reason);

class Terminal : public ErrorReporter, public Activity, public Dialogs {
  public:
    // `verbose`: errors with the error trap's labels and line numbers, and also the failures
    // that only follow from an earlier one.
    explicit Terminal(std::FILE* err, bool verbose = false);

    // The workbook that errors and progress refer to.
    void setCurrentFile(const std::string& path, int position, int count);
    int errorCount() const { return errors_; }
    // Errors reported from now on name the workbook and sheet that `other` names.
    void followContext(const Terminal& other) {
        currentFile_ = other.currentFile_;
        currentSheet_ = other.currentSheet_;
    }

    // "tabulon-cli: FILE: reason": the file that a failed file operation names, otherwise the
    // workbook, with the worksheet when there is one.
    void reportError(const TrappedError& error) override;
    void reportNotice(const std::string& file, const std::string& text) override;
    // "tabulon-cli: PATH: reason" for a path given or found that cannot be used (a folder that
    // cannot be read), counted as an error.
    void reportPathError(const std::string& path, const std::string& reason);

    void setProgressValue(int percent) override;
    void setProgressText(const std::string& text) override;
    void setBusyPointer() override {}
    void setDefaultPointer() override {}
    // Runs the step hook, if one is set: the working thread's safe point between steps.
    void processEvents() override {
        if (betweenSteps_) betweenSteps_();
    }
    void setBetweenSteps(std::function<void()> hook) { betweenSteps_ = std::move(hook); }
    void setCurrentSheet(const std::string& sheet) override { currentSheet_ = sheet; }

    // Notices go to stderr; "Done." is the normal end and is not shown. Questions are answered
    // with their first choice never being a go-ahead: there is nobody to ask.
    Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                      const std::string& title) override;
    std::string inputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    // tabulon-cli takes its passwords from the command line and never asks for one.
    std::optional<std::string> passwordBox(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::vector<std::string> openFiles(const std::string&, const std::string&, bool) override {
        return {};
    }
    std::string browseForFolder(const std::string&) override { return {}; }
    void openFolder(const std::string&) override {}

    // Ends the progress line, if one is shown.
    void finishProgress();

  private:
    void clearProgressLine();

    std::FILE* err_;
    std::function<void()> betweenSteps_;
    bool verbose_;
    bool progress_;
    bool progressShown_ = false;
    std::string currentFile_;
    std::string currentSheet_;
    int position_ = 0;
    int count_ = 0;
    int errors_ = 0;
};

}  // namespace tabulon::cli
