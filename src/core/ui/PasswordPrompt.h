// Passwords for encrypted workbooks typed by the user in the program's password box.
#pragma once

#include "core/ui/Dialogs.h"
#include "core/workbook/PasswordSource.h"

namespace tabulon {

// Asks with a masked password box naming the workbook, at most kAttempts times per workbook;
// Cancel gives up on that workbook. Nothing typed is kept beyond the call.
class PasswordPrompt : public workbook::PasswordSource {
  public:
    static constexpr int kAttempts = 3;

    explicit PasswordPrompt(Dialogs& dialogs) : dialogs_(dialogs) {}
    std::optional<std::string> password(const std::string& path, int attempt) override;

  private:
    Dialogs& dialogs_;
};

// The box's text for that attempt.
std::string passwordPromptText(const std::string& path, int attempt);

}  // namespace tabulon
