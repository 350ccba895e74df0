// Rendering speed of typical number format codes (values per second on one core).
#include <benchmark/benchmark.h>

#include <vector>

#include "core/numfmt/NumberFormat.h"

namespace {

using tabulon::numfmt::NumberFormat;

// A spread of values like a sheet's: integers, money, fractions of a day, dates.
std::vector<double> sampleValues() {
    std::vector<double> values;
    values.reserve(4096);
    for (int i = 0; i < 4096; ++i) {
        const double base = (i * 7919) % 100000;
        switch (i % 4) {
            case 0:
                values.push_back(base);
                break;
            case 1:
                values.push_back(base / 100.0 + 0.005);
                break;
            case 2:
                values.push_back((i % 977) / 977.0);
                break;
            default:
                values.push_back(30000.0 + base / 7.0);
                break;
        }
    }
    return values;
}

void renderCode(benchmark::State& state, const char* code) {
    const NumberFormat format = NumberFormat::compile(code);
    const std::vector<double> values = sampleValues();
    std::size_t i = 0;
    for (auto _ : state) {
        std::string text = format.format(values[i], false);
        benchmark::DoNotOptimize(text);
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(renderCode, General, "General");
BENCHMARK_CAPTURE(renderCode, TwoDecimals, "0.00");
BENCHMARK_CAPTURE(renderCode, Thousands, "#,##0");
BENCHMARK_CAPTURE(renderCode, Percent, "0%");
BENCHMARK_CAPTURE(renderCode, Date, "m/d/yyyy");
BENCHMARK_CAPTURE(renderCode, Time, "h:mm:ss");

void compileCode(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(NumberFormat::compile("#,##0.00_);[Red](#,##0.00)"));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(compileCode);

}  // namespace

BENCHMARK_MAIN();
