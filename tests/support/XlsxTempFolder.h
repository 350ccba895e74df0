// A private temporary folder for the workbooks that a test writes; removed with the object.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

namespace tabulon::testing {

class XlsxTempFolder {
  public:
    XlsxTempFolder() {
        static std::atomic<int> serial{0};
        path_ = std::filesystem::temp_directory_path() /
                ("tabulon_wb_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~XlsxTempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    XlsxTempFolder(const XlsxTempFolder&) = delete;
    XlsxTempFolder& operator=(const XlsxTempFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace tabulon::testing
