// What tabulon-cli shows on the terminal.
#include "cli/Terminal.h"

#include <unistd.h>

#include "core/Error.h"

namespace tabulon::cli {

Terminal::Terminal(std::FILE* err, bool verbose)
    : err_(err), verbose_(verbose), progress_(::isatty(::fileno(err)) != 0) {}

void Terminal::setCurrentFile(const std::string& path, int position, int count) {
    currentFile_ = path;
    currentSheet_.clear();
    position_ = position;
    count_ = count;
    setProgressValue(0);
}

void Terminal::reportError(const TrappedError& error) {
    ++errors_;
    const std::string file = currentFile_.empty() ? "-" : currentFile_;
    if (verbose_) {
        clearProgressLine();
        std::fprintf(err_, "tabulon-cli: %s: %s line %d: %s\n", file.c_str(), error.label.c_str(),
                     error.line, error.description.c_str());
        return;
    }
    // A step that failed only because an earlier one did adds nothing for the reader.
    if (error.description == kNoObjectError) return;
    clearProgressLine();
    if (!error.file.empty()) {
        std::string reason = error.description;
        const std::string tail = ": " + error.file;
        if (reason.size() > tail.size() && reason.ends_with(tail))
            reason.resize(reason.size() - tail.size());
        std::fprintf(err_, "tabulon-cli: %s: %s\n", error.file.c_str(), reason.c_str());
        return;
    }
    // Workbook errors end with ": FILE" or ": FILE, sheet NAME"; the line names both first.
    std::string reason = error.description;
    std::string sheet = currentSheet_;
    if (const auto at = reason.rfind(": " + file); at != std::string::npos) {
        const std::string rest = reason.substr(at + 2 + file.size());
        if (rest.empty() || rest.starts_with(", sheet ")) {
            if (!rest.empty()) sheet = rest.substr(8);
            reason.resize(at);
        }
    }
    const std::string sheetPart = sheet.empty() ? "" : "sheet " + sheet + ": ";
    std::fprintf(err_, "tabulon-cli: %s: %s%s\n", file.c_str(), sheetPart.c_str(),
                 reason.c_str());
}

void Terminal::reportNotice(const std::string& file, const std::string& text) {
    clearProgressLine();
    std::fprintf(err_, "tabulon-cli: %s: warning: %s\n", file.c_str(), text.c_str());
}

void Terminal::setProgressValue(int percent) {
    if (!progress_ || count_ == 0) return;
    std::fprintf(err_, "\r\033[K[%d/%d] %3d%% %s", position_, count_, percent,
                 currentFile_.c_str());
    std::fflush(err_);
    progressShown_ = true;
}

void Terminal::setProgressText(const std::string&) {}

Answer Terminal::messageBox(const std::string& text, Buttons buttons, Icon, const std::string&) {
    if (text != "Done.") {
        clearProgressLine();
        std::fprintf(err_, "tabulon-cli: %s\n", text.c_str());
    }
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::No : Answer::Ok;
}

void Terminal::clearProgressLine() {
    if (!progressShown_) return;
    std::fprintf(err_, "\r\033[K");
    progressShown_ = false;
}

void Terminal::finishProgress() { clearProgressLine(); }

}  // namespace tabulon::cli
