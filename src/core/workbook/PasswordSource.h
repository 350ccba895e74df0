// Where the passwords of encrypted workbooks come from, and the loop that tries them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tabulon::workbook {

// The password that the spreadsheet application uses when the user sets none; a workbook
// encrypted with it opens without a question.
inline constexpr const char* kDefaultPassword = "VelvetSweatshop";

// Thrown by a source when the user cancels: the workbook stays locked, reported as protected
// rather than as a wrong password.
struct PasswordCancelled {};

class PasswordSource {
  public:
    virtual ~PasswordSource() = default;
    // The password to try for the workbook at the path on that attempt (1, 2, ...), or nothing
    // when there is none left to try. Throws PasswordCancelled when the user cancels.
    virtual std::optional<std::string> password(const std::string& path, int attempt) = 0;
};

// The same passwords, in order, for every workbook.
class PasswordList : public PasswordSource {
  public:
    explicit PasswordList(std::vector<std::string> passwords) : passwords_(std::move(passwords)) {}
    std::optional<std::string> password(const std::string& path, int attempt) override;
    bool empty() const { return passwords_.empty(); }

  private:
    std::vector<std::string> passwords_;
};

// Offers accept() the default password (when tryDefault) and then each password of the source
// (which may be null) until accept() returns true. Throws ReadError: PasswordProtected when the
// source offered no password or was cancelled, PasswordIncorrect when every one offered was wrong.
void unlockWorkbook(const std::string& path, PasswordSource* source, bool tryDefault,
                    const std::function<bool(const std::string&)>& accept);

}  // namespace tabulon::workbook
