// A temporary folder for one test, with helpers that build small file trees inside it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace tabulon::testing {

class TempFolder {
  public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path() /
                (std::string("tabulon_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, without a trailing separator.
    std::string path() const { return root_.string(); }
    // The path of an entry below the folder ("A/B" uses the native separator).
    std::string path(const std::string& relative) const {
        return (root_ / std::filesystem::path(relative).make_preferred()).string();
    }
    // Creates a file (and its folders) holding a few bytes.
    std::string file(const std::string& relative) const {
        const std::string p = path(relative);
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        std::ofstream(p) << "x";
        return p;
    }
    std::string folder(const std::string& relative) const {
        const std::string p = path(relative);
        std::filesystem::create_directories(p);
        return p;
    }
    // Takes the owner's write permission away: the entry becomes read-only.
    std::string readOnly(const std::string& relative) const {
        const std::string p = path(relative);
        std::filesystem::permissions(p, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        return p;
    }

  private:
    std::filesystem::path root_;
};

}  // namespace tabulon::testing
