// Start-up to the first painted main window: the main window and the windows
// that live for the run are created, the window is shown, its first
// activation loads the data folder's lists and the preferences, and the loop
// runs until the editor of slot 1 has painted. Offscreen, with the data folder
// of the source tree and a settings store of its own. Also what the running
// program holds resident for a large file it opens.
#include "bench/BenchPages.h"
#include "bench/ResidentMemory.h"
#include "highlighters/RegisterHighlighters.h"
#include "editor/qt/mwCustomEdit.h"
#include "platform/Registry.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/Startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include <malloc.h>

namespace {

class PaintSpy : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

void BM_StartupToFirstPaint(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<TForm1> form(CreateMainWindows([](int, const char*) {}));
        PaintSpy spy;
        form->SlotEditor(1)->viewport()->installEventFilter(&spy);
        form->show();
        if (form->FirstActivation())
            form->FormActivate();
        while (!spy.painted)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(10);

using vx::bench::ResidentBytes;

// A 10 MB style sheet opened from the File menu's path into a slot: the
// editor's lines, the highlighter's ranges and what the slot keeps of the
// loaded file, per byte of text.
void BM_ResidentPerByteOpenedCss10MB(benchmark::State& state)
{
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "vellumix-bench-page.css";
    {
        std::ofstream out(file, std::ios::binary);
        out << vx::bench::TPageWriter(9).StyleSheet(10 * vx::bench::kMB);
    }
    const double bytes = static_cast<double>(std::filesystem::file_size(file));
    double perByte = 0;
    for (auto _ : state) {
        std::unique_ptr<TForm1> form(CreateMainWindows([](int, const char*) {}));
        form->show();
        if (form->FirstActivation())
            form->FormActivate();
        QApplication::processEvents();
        const double before = ResidentBytes();
        const double heapBefore = static_cast<double>(mallinfo2().uordblks);
        form->OpenDocumentInFreeSlot(file.string(), false);
        QApplication::processEvents();
        perByte = (ResidentBytes() - before) / bytes;
        state.counters["heap_per_byte"] = (static_cast<double>(mallinfo2().uordblks) - heapBefore) / bytes;
        state.PauseTiming();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["resident_per_byte"] = perByte;
    std::filesystem::remove(file);
}
BENCHMARK(BM_ResidentPerByteOpenedCss10MB)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path config = std::filesystem::temp_directory_path() / "vellumix-bench-startup";
    std::filesystem::remove_all(config);
    std::filesystem::create_directories(config);
    setenv("VELLUMIX_CONFIG", config.c_str(), 1);
    setenv("VELLUMIX_HOME", VX_SOURCE_DIR, 1);
    RegisterAllHighlighters();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(config);
    return 0;
}
