// The shared test data beside the checkout (../shared): where it is, and what a test does when a
// part of it cannot be read.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace tabulon::testing {

inline const std::filesystem::path kSharedDir{TABULON_SHARED_DIR};
inline const std::filesystem::path kCorpus = kSharedDir / "corpus";
inline const std::filesystem::path kVectors = kSharedDir / "vectors";

// True in continuous integration (CI=true), where the shared data must be there.
inline bool runningInCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string_view(ci) == "true";
}

// Why the file or folder cannot be read, or "" when it can.
inline std::string unreadable(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        std::filesystem::directory_iterator entries(path, ec);
        return ec ? path.string() + ": " + ec.message() : std::string();
    }
    if (!std::filesystem::exists(path, ec)) return path.string() + ": missing";
    return std::ifstream(path, std::ios::binary) ? std::string()
                                                 : path.string() + ": cannot be read";
}

}  // namespace tabulon::testing

// Leaves the test when a part of the shared data cannot be read: under CI this is a failure,
// elsewhere the test is skipped.
#define TABULON_REQUIRE_SHARED(path)                                                            \
    do {                                                                                        \
        const std::string tabulonProblem = ::tabulon::testing::unreadable(path);                \
        if (!tabulonProblem.empty()) {                                                          \
            if (::tabulon::testing::runningInCi()) FAIL() << "shared data: " << tabulonProblem; \
            GTEST_SKIP() << "shared data: " << tabulonProblem;                                  \
        }                                                                                       \
    } while (false)
