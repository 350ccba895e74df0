// The stand-in for one private spreadsheet instance: its open workbooks, alerts flag and end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/workbook/PasswordSource.h"
#include "core/workbook/Workbook.h"

namespace tabulon::workbook {

class Workbooks {
  public:
    // Reads the workbook at the path and adds it to the open workbooks; an encrypted one is
    // opened with the default password or one of the source's (which may be null). Throws
    // tabulon::Error (a ReadError) with a description that names the problem and the file.
    void open(const std::string& path, PasswordSource* passwords = nullptr);
    std::int32_t count() const;
    // 1-based; throws tabulon::Error "Subscript out of range" outside 1..count().
    const Workbook& item(std::int32_t n) const;
    // Closes every open workbook; count() is 0 afterwards.
    void close();

  private:
    friend class Application;
    explicit Workbooks(const bool& ended) : ended_(ended) {}
    void checkRunning() const;

    const bool& ended_;
    std::vector<std::unique_ptr<Workbook>> open_;
};

class Application {
  public:
    Application() : workbooks_(ended_) {}
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Workbooks& workbooks();
    // Nothing here ever prompts, so the flag is only kept.
    void setDisplayAlerts(bool show);
    bool displayAlerts() const { return displayAlerts_; }
    // Ends the instance: its workbooks are released and every later use throws tabulon::Error.
    void quit();

  private:
    void checkRunning() const;

    bool ended_ = false;
    bool displayAlerts_ = true;
    Workbooks workbooks_;
};

}  // namespace tabulon::workbook
