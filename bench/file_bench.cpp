#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/test_paths.h"
#include "workbook/engine/biff/workbook_io.h"

namespace {

using tallowby::engine::readWorkbook;
using tallowby::engine::Workbook;
using tallowby::engine::writeWorkbook;

std::vector<uint8_t> sourceFile(const std::string& relative) {
    std::ifstream in(std::string(tallowby::test_paths::kSourceDir) + "/" + relative,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const char* const kFiles[] = {"resources/template.xlt", "tests/data/file/libreoffice_sample.xls",
                              "tests/data/file/xlwt_sample.xls",
                              "tests/data/file/gnumeric_sample.xls"};

// Reading a file into the model: compound file, records, strings, cells.
void ReadWorkbook(benchmark::State& state) {
    const std::vector<uint8_t> bytes = sourceFile(kFiles[state.range(0)]);
    state.SetLabel(kFiles[state.range(0)]);
    for (auto _ : state) {
        Workbook wb = readWorkbook(bytes);
        benchmark::DoNotOptimize(wb.sheets.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ReadWorkbook)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// Writing the model back: string table, cell records, compound file.
void WriteWorkbook(benchmark::State& state) {
    const Workbook wb = readWorkbook(sourceFile(kFiles[state.range(0)]));
    state.SetLabel(kFiles[state.range(0)]);
    size_t size = 0;
    for (auto _ : state) {
        std::vector<uint8_t> bytes = writeWorkbook(wb);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(WriteWorkbook)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace
