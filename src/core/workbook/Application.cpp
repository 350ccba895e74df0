// The application object and its workbook collection.
#include "core/workbook/Application.h"

#include "core/Error.h"
#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook {

namespace {

[[noreturn]] void throwEnded() {
    throw Error("The spreadsheet instance has ended; it cannot be used after Quit");
}

}  // namespace

void Workbooks::checkRunning() const {
    if (ended_) throwEnded();
}

void Workbooks::open(const std::string& path, PasswordSource* passwords) {
    checkRunning();
    open_.push_back(readWorkbookFile(path, passwords));
}

std::int32_t Workbooks::count() const {
    checkRunning();
    return static_cast<std::int32_t>(open_.size());
}

const Workbook& Workbooks::item(std::int32_t n) const {
    checkRunning();
    if (n < 1 || n > count()) throw Error("Subscript out of range");
    return *open_[static_cast<std::size_t>(n - 1)];
}

void Workbooks::close() {
    checkRunning();
    open_.clear();
}

void Application::checkRunning() const {
    if (ended_) throwEnded();
}

Workbooks& Application::workbooks() {
    checkRunning();
    return workbooks_;
}

void Application::setDisplayAlerts(bool show) {
    checkRunning();
    displayAlerts_ = show;
}

void Application::quit() {
    checkRunning();
    workbooks_.open_.clear();
    ended_ = true;
}

}  // namespace tabulon::workbook
