// The user-facing dialogs and the error box, shown with Qt's standard dialogs.
#pragma once

#include "core/ui/Dialogs.h"
#include "core/ui/ErrorReporter.h"

class QWidget;

namespace tabulon {

class QtDialogs : public Dialogs, public ErrorReporter {
  public:
    Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                      const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::optional<std::string> passwordBox(const std::string& prompt,
                                           const std::string& title) override;
    std::vector<std::string> openFiles(const std::string& title, const std::string& filter,
                                       bool multiSelect) override;
    std::string browseForFolder(const std::string& prompt) override;
    void openFolder(const std::string& path) override;
    void reportError(const TrappedError& error) override;
    void reportNotice(const std::string& file, const std::string& text) override;
};

}  // namespace tabulon
