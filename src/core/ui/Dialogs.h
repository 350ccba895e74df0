// The questions and notices that the program puts to the user, independent of any toolkit.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tabulon {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Exclamation, Question, Information, Critical };
enum class Answer { Ok, Cancel, Yes, No };

inline constexpr const char* kAppTitle = "Tabulon";

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                              const std::string& title) = 0;
    // The typed text, or the empty text when the user cancels.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;
    // A masked entry with OK and Cancel: the typed password, or nothing when the user cancels.
    virtual std::optional<std::string> passwordBox(const std::string& prompt,
                                                   const std::string& title) = 0;
    // The chosen files as full paths; empty when the user cancels.
    virtual std::vector<std::string> openFiles(const std::string& title, const std::string& filter,
                                               bool multiSelect) = 0;
    // The chosen folder, or the empty text when the user cancels.
    virtual std::string browseForFolder(const std::string& prompt) = 0;
    // Shows the folder in the desktop's file manager.
    virtual void openFolder(const std::string& path) = 0;
};

// A plain notice: OK button, no icon, the application's title.
inline void notify(Dialogs& dialogs, const std::string& text) {
    dialogs.messageBox(text, Buttons::Ok, Icon::None, kAppTitle);
}

}  // namespace tabulon
