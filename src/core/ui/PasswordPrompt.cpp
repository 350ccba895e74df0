// Asking the user for a workbook's password.
#include "core/ui/PasswordPrompt.h"

namespace tabulon {

std::string passwordPromptText(const std::string& path, int attempt) {
    if (attempt <= 1) return "The workbook " + path + " is password-protected.\nPassword:";
    return "The password is incorrect. Try again for the workbook " + path + ".\nPassword:";
}

std::optional<std::string> PasswordPrompt::password(const std::string& path, int attempt) {
    if (attempt > kAttempts) return std::nullopt;
    std::optional<std::string> typed =
        dialogs_.passwordBox(passwordPromptText(path, attempt), kAppTitle);
    if (!typed) throw workbook::PasswordCancelled{};
    return typed;
}

}  // namespace tabulon
