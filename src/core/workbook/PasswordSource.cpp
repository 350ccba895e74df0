// Trying passwords on an encrypted workbook.
#include "core/workbook/PasswordSource.h"

#include "core/workbook/ReadError.h"

namespace tabulon::workbook {

std::optional<std::string> PasswordList::password(const std::string&, int attempt) {
    if (attempt < 1 || static_cast<std::size_t>(attempt) > passwords_.size()) return std::nullopt;
    return passwords_[static_cast<std::size_t>(attempt - 1)];
}

void unlockWorkbook(const std::string& path, PasswordSource* source, bool tryDefault,
                    const std::function<bool(const std::string&)>& accept) {
    if (tryDefault && accept(kDefaultPassword)) return;
    int attempt = 1;
    try {
        for (; source != nullptr; ++attempt) {
            const std::optional<std::string> password = source->password(path, attempt);
            if (!password) break;
            if (accept(*password)) return;
        }
    } catch (const PasswordCancelled&) {
        attempt = 1;
    }
    throw ReadError(
        attempt == 1 ? ReadErrorKind::PasswordProtected : ReadErrorKind::PasswordIncorrect,
        placeInFile(path));
}

}  // namespace tabulon::workbook
