// The spreadsheet session: process scan, the question before a run, new instances.
#include "core/workbook/Session.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

namespace tabulon::workbook {

namespace {

// Program names (lower case, without folder) of desktop spreadsheet programs. Wine shows a
// Windows program under its own .exe name.
constexpr std::array<std::string_view, 8> kSpreadsheetPrograms = {
    "soffice",   "soffice.bin", "localc",      "gnumeric",
    "excel.exe", "scalc.exe",   "soffice.exe", "soffice.bin.exe"};

std::string lowerBaseName(std::string_view path) {
    const std::size_t cut = path.find_last_of("/\\");
    if (cut != std::string_view::npos) path.remove_prefix(cut + 1);
    std::string name(path);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

bool isSpreadsheetProgram(std::string_view name) {
    const std::string base = lowerBaseName(name);
    return std::find(kSpreadsheetPrograms.begin(), kSpreadsheetPrograms.end(), base) !=
           kSpreadsheetPrograms.end();
}

// The options that start a spreadsheet program without a window: a converter or a server in the
// background leaves nothing open that the user could be working in.
constexpr std::array<std::string_view, 3> kWindowlessOptions = {"headless", "invisible",
                                                                "convert-to"};

// "--headless", "-headless" (the older spelling) or "--headless=...".
bool isWindowlessOption(std::string_view argument) {
    if (argument.starts_with("--"))
        argument.remove_prefix(2);
    else if (argument.starts_with("-"))
        argument.remove_prefix(1);
    else
        return false;
    argument = argument.substr(0, argument.find('='));
    return std::find(kWindowlessOptions.begin(), kWindowlessOptions.end(), argument) !=
           kWindowlessOptions.end();
}

std::string readSmallFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool processIsSpreadsheet(const std::filesystem::path& dir) {
    std::string comm = readSmallFile(dir / "comm");
    while (!comm.empty() && (comm.back() == '\n' || comm.back() == '\0')) comm.pop_back();
    // comm is cut to 15 characters and Wine programs often run as "wine64-preloader": the
    // command line's first argument names the program.
    const std::string cmdline = readSmallFile(dir / "cmdline");
    const std::string_view arguments(cmdline);
    const std::string_view first = arguments.substr(0, arguments.find('\0'));
    if (!isSpreadsheetProgram(comm) && !isSpreadsheetProgram(first)) return false;
    for (std::size_t at = first.size() + 1; at < arguments.size();) {
        const std::size_t end = std::min(arguments.find('\0', at), arguments.size());
        if (isWindowlessOption(arguments.substr(at, end - at))) return false;
        at = end + 1;
    }
    return true;
}

}  // namespace

bool isSpreadsheetProcessRunning(const std::string& processRoot) {
    try {
        std::error_code ec;
        const uid_t me = geteuid();
        for (const auto& entry : std::filesystem::directory_iterator(processRoot, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.empty() || !std::all_of(name.begin(), name.end(),
                                             [](unsigned char c) { return std::isdigit(c) != 0; }))
                continue;
            struct stat info {};
            if (::stat(entry.path().c_str(), &info) != 0 || info.st_uid != me) continue;
            if (processIsSpreadsheet(entry.path())) return true;
        }
    } catch (...) {
        return false;
    }
    return false;
}

bool IsExcelRunning() { return isSpreadsheetProcessRunning("/proc"); }

std::unique_ptr<Application> OpenInNewExcel(const std::string& path, PasswordSource* passwords) {
    auto application = std::make_unique<Application>();
    application->workbooks().open(path, passwords);
    return application;
}

}  // namespace tabulon::workbook
