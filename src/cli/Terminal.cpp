// What tabulon-cli shows on the terminal.
#include "cli/Terminal.h"

#include <unistd.h>

namespace tabulon::cli {

Terminal::Terminal(std::FILE* err) : err_(err), progress_(::isatty(::fileno(err)) != 0) {}

void Terminal::setCurrentFile(const std::string& path, int position, int count) {
    currentFile_ = path;
    position_ = position;
    count_ = count;
    setProgressValue(0);
}

void Terminal::reportError(const TrappedError& error) {
    ++errors_;
    clearProgressLine();
    std::fprintf(err_, "tabulon-cli: %s: %s line %d: %s\n",
                 currentFile_.empty() ? "-" : currentFile_.c_str(), error.label.c_str(), error.line,
                 error.description.c_str());
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
