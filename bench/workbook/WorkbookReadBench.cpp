// Reading a workbook: an xlsx workbook against the cost of only inflating its sheet and string
// parts, and the stages of exporting a workbook of any format each on its own (inflating its zip
// entries, reading its cells, rendering them, writing text to a file). The workbook comes from
// the environment variable TABULON_BENCH_WORKBOOK (see README.md).
#include <benchmark/benchmark.h>
#include <expat.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/util/WriteAll.h"
#include "core/workbook/Session.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/WorkbookFile.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/package/PackageReader.h"
#include "core/workbook/xlsx/XlsxFormat.h"

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
        auto archive = std::make_unique<tabulon::workbook::ZipArchive>(path);
        std::string part = tabulon::workbook::package::findWorkbookPart(*archive);
        const auto book = tabulon::workbook::package::openPackage(
            std::move(archive), std::move(part),
            tabulon::workbook::xlsx::xmlFormat(
                {tabulon::workbook::xlsx::SheetPath::Expat, nullptr}));
        for (std::size_t s = 0; s < book->worksheetCount(); ++s)
            benchmark::DoNotOptimize(book->worksheet(s).usedRange());
    }
    state.counters["peak_RSS_MB"] = peakRssMegabytes();
}

// The names of the zip's entries that hold cells or what they share, with their inflated bytes:
// xlsx worksheets and shared strings, or an OpenDocument content.xml. Empty for other files.
std::vector<std::string> cellEntries(const char* path, double& bytes) {
    std::vector<std::string> names;
    bytes = 0;
    int error = 0;
    zip_t* archive = zip_open(path, ZIP_RDONLY, &error);
    if (archive == nullptr) return names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0) continue;
        const std::string name = stat.name;
        if (name.rfind("xl/worksheets/sheet", 0) == 0 || name == "xl/sharedStrings.xml" ||
            name == "content.xml") {
            names.push_back(name);
            bytes += static_cast<double>(stat.size);
        }
    }
    zip_discard(archive);
    return names;
}

// Inflating the entries that hold cells, as the readers do (ISA-L, or zlib without it).
void BM_Inflate(benchmark::State& state) {
    const char* path = workbookPath();
    if (path == nullptr) return state.SkipWithError("TABULON_BENCH_WORKBOOK is not set");
    double bytes = 0;
    const auto entries = cellEntries(path, bytes);
    if (entries.empty()) return state.SkipWithError("no deflated entries that hold cells");
    for (auto _ : state) {
        tabulon::workbook::ZipArchive archive(path);
        for (const std::string& entry : entries) {
            const auto stream = archive.stream(entry);
            while (!stream->next().empty()) {
            }
        }
    }
    state.counters["inflated_MB"] = bytes / 1e6;
    state.counters["inflate_MB/s"] =
        benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// Opening the workbook and reading every worksheet's cells, one sheet held at a time.
void BM_Read(benchmark::State& state) {
    const char* path = workbookPath();
    if (path == nullptr) return state.SkipWithError("TABULON_BENCH_WORKBOOK is not set");
    double bytes = 0;
    cellEntries(path, bytes);
    if (bytes == 0) bytes = static_cast<double>(std::filesystem::file_size(path));
    double cells = 0;
    for (auto _ : state) {
        const auto book = tabulon::workbook::readWorkbookFile(path);
        cells = 0;
        for (std::size_t i = 0; i < book->worksheetCount(); ++i) {
            const auto& sheet =
                dynamic_cast<const tabulon::workbook::StoredWorksheet&>(book->worksheet(i));
            cells += static_cast<double>(sheet.cells().size());
            book->release(i);
        }
    }
    state.counters["cells"] = cells;
    state.counters["scan_MB/s"] =
        benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["cells/s"] =
        benchmark::Counter(cells, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_RSS_MB"] = peakRssMegabytes();
}

// Every cell of the used ranges rendered as the sheet mode does (Text); reading is not timed.
void BM_Render(benchmark::State& state) {
    const char* path = workbookPath();
    if (path == nullptr) return state.SkipWithError("TABULON_BENCH_WORKBOOK is not set");
    double cells = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto book = tabulon::workbook::readWorkbookFile(path);
        state.ResumeTiming();
        cells = 0;
        for (std::size_t i = 0; i < book->worksheetCount(); ++i) {
            state.PauseTiming();
            const auto& sheet = book->worksheet(i);
            const auto used = sheet.usedRange();
            state.ResumeTiming();
            for (std::int32_t r = 1; r <= used.lastRow; ++r)
                for (std::int32_t c = 1; c <= used.lastCol; ++c)
                    benchmark::DoNotOptimize(sheet.text(r, c));
            cells += static_cast<double>(used.lastRow) * used.lastCol;
            state.PauseTiming();
            book->release(i);
            state.ResumeTiming();
        }
    }
    state.counters["cells/s"] =
        benchmark::Counter(cells, benchmark::Counter::kIsIterationInvariantRate);
}

// Writing text through the file sink that saved results go through, in pieces of a cell's size:
// 64 MB of the first worksheet's rows, rendered before the timing.
void BM_Write(benchmark::State& state) {
    const char* path = workbookPath();
    if (path == nullptr) return state.SkipWithError("TABULON_BENCH_WORKBOOK is not set");
    std::vector<std::string> fields;
    {
        const auto book = tabulon::workbook::readWorkbookFile(path);
        const auto& sheet = book->worksheet(0);
        const auto used = sheet.usedRange();
        std::size_t bytes = 0;
        for (std::int32_t r = 1; r <= used.lastRow && bytes < (64u << 20); ++r) {
            for (std::int32_t c = 1; c <= used.lastCol; ++c) {
                fields.push_back(sheet.text(r, c) + ", ");
                bytes += fields.back().size();
            }
            fields.emplace_back("\r\n");
        }
    }
    double bytes = 0;
    const std::string file = "/tmp/tabulon-bench-write-" + std::to_string(::getpid());
    for (auto _ : state) {
        ::unlink(file.c_str());
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        std::string buffer;
        std::size_t written = 0;
        for (const std::string& field : fields) {
            buffer += field;
            if (buffer.size() < (1u << 20)) continue;
            tabulon::writeAll(fd, buffer, file);
            written += buffer.size();
            buffer.clear();
        }
        tabulon::writeAll(fd, buffer, file);
        written += buffer.size();
        ::close(fd);
        bytes = static_cast<double>(written);
    }
    ::unlink(file.c_str());
    state.counters["written_MB/s"] =
        benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsIterationInvariantRate);
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

BENCHMARK(BM_Inflate)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_Read)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_Render)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_Write)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
