// A test double for every user-facing interface: records what was shown, answers as scripted.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/ui/Activity.h"
#include "core/ui/Dialogs.h"
#include "core/ui/ErrorReporter.h"

namespace tabulon::testing {

struct ShownBox {
    std::string text;
    Buttons buttons;
    Icon icon;
    std::string title;
};

class ScriptedUi : public Dialogs, public ErrorReporter, public Activity {
  public:
    // Scripted answers, taken in order; when a queue is empty the defaults below apply.
    std::deque<Answer> answers;                        // default: Ok, or No for Yes/No boxes
    std::deque<std::string> inputs;                    // default: "" (cancelled)
    std::deque<std::optional<std::string>> passwords;  // default: nothing (cancelled)
    std::deque<std::vector<std::string>> fileChoices;  // default: none chosen
    std::deque<std::string> folderChoices;             // default: "" (cancelled)

    // What was shown and done.
    std::vector<ShownBox> boxes;
    std::vector<TrappedError> errors;
    std::vector<std::string> notices;  // "TEXT: FILE"
    std::vector<std::string> inputPrompts;
    std::vector<ShownBox> passwordBoxes;  // text and title of each password box
    std::vector<std::string> openedFolders;
    std::vector<int> progressValues;
    std::vector<std::string> progressTexts;
    bool busy = false;
    int eventPasses = 0;

    Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                      const std::string& title) override {
        boxes.push_back({text, buttons, icon, title});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::No
                                                                            : Answer::Ok;
    }
    std::string inputBox(const std::string& prompt, const std::string&,
                         const std::string&) override {
        inputPrompts.push_back(prompt);
        return take(inputs, std::string());
    }
    std::optional<std::string> passwordBox(const std::string& prompt,
                                           const std::string& title) override {
        passwordBoxes.push_back({prompt, Buttons::OkCancel, Icon::None, title});
        return take(passwords, std::optional<std::string>());
    }
    std::vector<std::string> openFiles(const std::string&, const std::string&, bool) override {
        return take(fileChoices, std::vector<std::string>());
    }
    std::string browseForFolder(const std::string&) override {
        return take(folderChoices, std::string());
    }
    void openFolder(const std::string& path) override { openedFolders.push_back(path); }

    void reportError(const TrappedError& error) override { errors.push_back(error); }
    void reportNotice(const std::string& file, const std::string& text) override {
        notices.push_back(text + ": " + file);
    }

    void setProgressValue(int percent) override { progressValues.push_back(percent); }
    void setProgressText(const std::string& text) override { progressTexts.push_back(text); }
    void setBusyPointer() override { busy = true; }
    void setDefaultPointer() override { busy = false; }
    void processEvents() override { ++eventPasses; }

  private:
    template <class T>
    static T take(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

}  // namespace tabulon::testing
