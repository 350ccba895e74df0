// Reading a large xlsx workbook against the cost of only inflating its sheet and string parts.
// The workbook comes from the environment variable TABULON_BENCH_WORKBOOK (see README.md).
#include <benchmark/benchmark.h>
#include <expat.h>
#include <sys/resource.h>
#include <zip.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/workbook/Session.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/package/PackageReader.h"

namespace {

const char* workbookPath() { return std::getenv("TABULON_BENCH_WORKBOOK"); }

double peakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Inflates every worksheet part and the shared strings; with tokenize set, also runs each through
// expat with empty callbacks (the least that any expat-based reader pays).
std::uint64_t inflateParts(const char* path, bool tokenize) {
    int error = 0;
    zip_t* archive = zip_open(path, ZIP_RDONLY, &error);
    if (archive == nullptr) return 0;
    std::vector<char> buffer(1 << 20);
    std::uint64_t bytes = 0;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        const std::string name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
        if (name.rfind("xl/worksheets/sheet", 0) != 0 && name != "xl/sharedStrings.xml") continue;
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetElementHandler(
            parser, [](void*, const XML_Char*, const XML_Char**) {}, [](void*, const XML_Char*) {});
        XML_SetCharacterDataHandler(parser, [](void*, const XML_Char*, int) {});
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        zip_int64_t n;
        while ((n = zip_fread(file, buffer.data(), buffer.size())) > 0) {
            bytes += static_cast<std::uint64_t>(n);
            if (tokenize) XML_Parse(parser, buffer.data(), static_cast<int>(n), XML_FALSE);
        }
        zip_fclose(file);
        XML_ParserFree(parser);
    }
    zip_discard(archive);
    return bytes;
}

// The baseline: the sheet and string parts inflated and thrown away.
void BM_InflateSheetAndStringParts(benchmark::State& state) {
    const char* path = workbookPath();
    if (path == nullptr) return state.SkipWithError("TABULON_BENCH_WORKBOOK is not set");
    std::uint64_t bytes = 0;
    for (auto _ : state) bytes = inflateParts(path, false);
    if (bytes == 0) return state.SkipWithError("cannot read the workbook");
    state.counters["inflated_MB"] = static_cast<double>(bytes) / 1e6;
}

// The floor of an expat reader: inflate plus tokenizing, nothing stored.
void BM_InflateAndTokenizeOnly(benchmark::State& state) {
    const char* path = workbookPath();
    if (path == nullptr) return state.SkipWithError("TABULON_BENCH_WORKBOOK is not set");
    for (auto _ : state) benchmark::DoNotOptimize(inflateParts(path, true));
}

// The engine: open the workbook in a new instance and count its cells.
void BM_ReadWorkbook(benchmark::State& state) {
    const char* path = workbookPath();
    if (path == nullptr) return state.SkipWithError("TABULON_BENCH_WORKBOOK is not set");
    double cells = 0;
    for (auto _ : state) {
        auto application = tabulon::workbook::OpenInNewExcel(path);
        const auto& book = application->workbooks().item(application->workbooks().count());
        cells = 0;
        for (std::size_t i = 0; i < book.worksheetCount(); ++i) {
            const auto used = book.worksheet(i).usedRange();
            cells += static_cast<double>(used.lastRow - used.firstRow + 1) *
                     (used.lastCol - used.firstCol + 1);
        }
        benchmark::DoNotOptimize(cells);
        application->quit();
    }
    state.counters["cells"] = cells;
    state.counters["peak_RSS_MB"] = peakRssMegabytes();
}

// The xlsx reader with every worksheet read by expat alone, as before the sheetData scanner.
void BM_ReadWorkbookExpatOnly(benchmark::State& state) {
    const char* path = workbookPath();
    if (path == nullptr) return state.SkipWithError("TABULON_BENCH_WORKBOOK is not set");
    for (auto _ : state) {
        const auto book = tabulon::workbook::package::openPackage(
            std::make_unique<tabulon::workbook::ZipArchive>(path),
            {tabulon::workbook::xlsx::SheetPath::Expat, nullptr});
        for (std::size_t s = 0; s < book->worksheetCount(); ++s)
            benchmark::DoNotOptimize(book->worksheet(s).usedRange());
    }
    state.counters["peak_RSS_MB"] = peakRssMegabytes();
}

// CPU time is the whole process's, so that the reads count the inflating thread too.
BENCHMARK(BM_InflateSheetAndStringParts)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_InflateAndTokenizeOnly)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_ReadWorkbook)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_ReadWorkbookExpatOnly)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
