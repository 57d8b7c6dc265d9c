// Filling the file list for a folder of 10,000 tests (target: under one second).
#include "browser/FileList.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

using tikmeter::browser::FileList;

namespace {

constexpr int kTests = 10000;

const QTemporaryDir& testFolder() {
    static const QTemporaryDir folder = [] {
        QTemporaryDir made;
        for (int i = 0; i < kTests; ++i) {
            QFile file(made.filePath(QStringLiteral("student%1.rtf").arg(i, 5, 10, QChar('0'))));
            if (file.open(QIODevice::WriteOnly))
                file.resize(1500 + i % 4000);
        }
        return made;
    }();
    return folder;
}

// A shown list, so layout and painting happen as in the window.
void BM_fillFileList(benchmark::State& state) {
    const QString folder = testFolder().path();
    FileList list;
    list.resize(600, 500);
    list.show();
    QApplication::processEvents();
    list.setCurrentFolder(folder);
    for (auto _ : state) {
        list.fillFileList(false);
        benchmark::DoNotOptimize(list.topLevelItemCount());
    }
    if (list.topLevelItemCount() != kTests)
        state.SkipWithError("the list does not show every test");
    state.counters["entries"] = list.topLevelItemCount();
}
BENCHMARK(BM_fillFileList)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// A change of folder: a new list for the folder, as the first visit from the tree.
void BM_FirstVisit(benchmark::State& state) {
    const QString folder = testFolder().path();
    for (auto _ : state) {
        FileList list;
        list.resize(600, 500);
        list.show();
        list.setCurrentFolder(folder);
        benchmark::DoNotOptimize(list.topLevelItemCount());
    }
}
BENCHMARK(BM_FirstVisit)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
