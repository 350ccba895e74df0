// Every OOXML workbook of the shared corpus read through the sheetData scanner and through expat
// alone: the same cells, styles, used ranges and errors, with a table of which path read what.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "SharedData.h"
#include "SheetPathComparison.h"
#include "core/workbook/StoredWorkbook.h"

namespace tabulon::workbook {
namespace {

namespace fs = std::filesystem;
using testing::firstDifference;
using testing::readThrough;
using xlsx::SheetPath;

const fs::path kCorpusFiles = ::tabulon::testing::kCorpus / "files";

std::vector<fs::path> corpusFiles() {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kCorpusFiles, ec)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".xlsx" || ext == ".xlsm" || ext == ".xltx" || ext == ".xltm")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ScanCorpusTest, BothPathsReadEveryFileAlike) {
    TABULON_REQUIRE_SHARED(kCorpusFiles);
    const auto files = corpusFiles();
    ASSERT_FALSE(files.empty());
    int scanned = 0;
    int fellBack = 0;
    int refused = 0;
    std::printf("%-70s %7s %7s %9s  %s\n", "file", "scanned", "expat", "cells", "outcome");
    for (const fs::path& file : files) {
        const auto viaScanner = readThrough(file.string(), SheetPath::Scanner);
        const auto viaExpat = readThrough(file.string(), SheetPath::Expat);
        EXPECT_EQ(firstDifference(viaScanner, viaExpat), "") << file.filename();
        const auto count = [&](SheetPath path) {
            return static_cast<int>(
                std::count(viaScanner.pathsTaken.begin(), viaScanner.pathsTaken.end(), path));
        };
        std::size_t cells = 0;
        if (viaScanner.book)
            for (std::size_t i = 0; i < viaScanner.book->worksheetCount(); ++i)
                if (const auto* sheet =
                        dynamic_cast<const StoredWorksheet*>(&viaScanner.book->worksheet(i)))
                    cells += sheet->cells().size();
        scanned += count(SheetPath::Scanner);
        fellBack += count(SheetPath::Expat);
        refused += viaScanner.errorKind ? 1 : 0;
        std::printf("%-70s %7d %7d %9zu  %s\n", file.filename().string().substr(0, 70).c_str(),
                    count(SheetPath::Scanner), count(SheetPath::Expat), cells,
                    viaScanner.errorKind ? viaScanner.errorText.substr(0, 60).c_str() : "read");
    }
    std::printf("%zu files, %d refused; worksheets: %d scanned, %d by expat\n", files.size(),
                refused, scanned, fellBack);
    // The scanner must carry the ordinary files, not leave them all to expat.
    EXPECT_GT(scanned, 9 * (scanned + fellBack) / 10);
}

}  // namespace
}  // namespace tabulon::workbook
