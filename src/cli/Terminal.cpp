// What tabulon-cli shows on the terminal.
#include "cli/Terminal.h"

#include <unistd.h>

#include "core/Error.h"
#include "core/util/ControlEscapes.h"

namespace tabulon::cli {

void writeMessage(std::FILE* out, const std::string& text) {
    std::fprintf(out, "tabulon-cli: %s\n", escapeControlCharacters(text).c_str());
}

std::string workbookMessage(const std::string& file, std::string sheet, std::string reason) {
    if (const auto at = reason.rfind(": " + file); at != std::string::npos) {
        const std::string rest = reason.substr(at + 2 + file.size());
        if (rest.empty() || rest.starts_with(", sheet ")) {
            if (!rest.empty()) sheet = rest.substr(8);
            reason.resize(at);
        }
    }
    const std::string sheetPart = sheet.empty() ? "" : "sheet " + sheet + ": ";
    return file + ": " + sheetPart + reason;
}

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
        writeMessage(err_, workbookMessage(file, currentSheet_,
                                           error.label + " line " + std::to_string(error.line) +
                                               ": " + error.description));
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
        writeMessage(err_, error.file + ": " + reason);
        return;
    }
    writeMessage(err_, workbookMessage(file, currentSheet_, error.description));
}

void Terminal::reportPathError(const std::string& path, const std::string& reason) {
    ++errors_;
    clearProgressLine();
    writeMessage(err_, path + ": " + reason);
}

void Terminal::reportNotice(const std::string& file, const std::string& text) {
    clearProgressLine();
    writeMessage(err_, file + ": warning: " + text);
}

void Terminal::setProgressValue(int percent) {
    if (!progress_ || count_ == 0) return;
    std::fprintf(err_, "\r\033[K[%d/%d] %3d%% %s", position_, count_, percent,
                 escapeControlCharacters(currentFile_).c_str());
    std::fflush(err_);
    progressShown_ = true;
}

void Terminal::setProgressText(const std::string&) {}

Answer Terminal::messageBox(const std::string& text, Buttons buttons, Icon, const std::string&) {
    if (text != "Done.") {
        clearProgressLine();
        writeMessage(err_, text);
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
