// Reading RTF: a typical speed test, a class of 40 tests from disk, and generated 20 MB
// documents (mostly embedded pictures, and mostly text).
#include "documents/Document.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using tikmeter::documents::Document;

const std::filesystem::path kClassFolder =
    std::filesystem::path(TIKMETER_TEST_DATA_DIR) / "class-a";

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::filesystem::path> classFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kClassFolder)) {
        if (entry.path().extension() == ".rtf") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

void BM_ReadTypicalTest(benchmark::State& state) {
    // a07: LibreOffice with direct formatting, about 4 KB.
    const std::string code = readBytes(kClassFolder / "a07.rtf");
    for (auto _ : state) {
        Document document;
        document.setRtf(code);
        benchmark::DoNotOptimize(document.text().data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(code.size()));
    state.counters["bytes"] = static_cast<double>(code.size());
}
BENCHMARK(BM_ReadTypicalTest)->Unit(benchmark::kMicrosecond);

void BM_ReadWordTest(benchmark::State& state) {
    // a13: a large word processor's RTF with its long header, about 7 KB.
    const std::string code = readBytes(kClassFolder / "a13.rtf");
    for (auto _ : state) {
        Document document;
        document.setRtf(code);
        benchmark::DoNotOptimize(document.text().data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(code.size()));
}
BENCHMARK(BM_ReadWordTest)->Unit(benchmark::kMicrosecond);

void BM_LoadClassOf40(benchmark::State& state) {
    // 40 tests loaded from disk (the 24 of the class, then the first 16 again).
    const std::vector<std::filesystem::path> files = classFiles();
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < 40; ++i) {
        bytes += std::filesystem::file_size(files[i % files.size()]);
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < 40; ++i) {
            Document document;
            document.loadFile(files[i % files.size()]);
            benchmark::DoNotOptimize(document.text().data());
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_LoadClassOf40)->Unit(benchmark::kMillisecond);

std::string generated(bool pictures) {
    const std::string paragraph =
        "Two years ago the open piece of ground behind our school was nothing but dust, "
        "stones and a few dry weeds. Nobody wanted to play there caf\\'e9.\\par\r\n";
    std::string picture = "{\\*\\shppict{\\pict\\pngblip\\picw200\\pich200\r\n";
    for (int line = 0; line < 2000; ++line) {
        picture += "89504e470d0a1a0a0000000d4948445200000100000001000806000000"
                   "5c72a866000000017352474200aece1ce90000000467414d410000b18f0bfc61\r\n";
    }
    picture += "}}";
    std::string code = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    while (code.size() < 20'000'000) {
        code += paragraph;
        if (pictures) {
            code += picture;
        }
    }
    code += "}";
    return code;
}

void BM_Read20MBPictures(benchmark::State& state) {
    const std::string code = generated(true);
    for (auto _ : state) {
        Document document;
        document.setRtf(code);
        benchmark::DoNotOptimize(document.text().data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(code.size()));
}
BENCHMARK(BM_Read20MBPictures)->Unit(benchmark::kMillisecond);

void BM_Read20MBText(benchmark::State& state) {
    const std::string code = generated(false);
    for (auto _ : state) {
        Document document;
        document.setRtf(code);
        benchmark::DoNotOptimize(document.text().data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(code.size()));
}
BENCHMARK(BM_Read20MBText)->Unit(benchmark::kMillisecond);

void BM_WriteTypicalTest(benchmark::State& state) {
    Document document;
    document.setRtf(readBytes(kClassFolder / "a07.rtf"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(document.rtf());
    }
}
BENCHMARK(BM_WriteTypicalTest)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
