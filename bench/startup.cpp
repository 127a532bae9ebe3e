// Start-up to the first painted main window: the main window and the windows
// that live for the run are created, the window is shown, its first
// activation loads the data folder's lists and the preferences, and the loop
// runs until the editor of slot 1 has painted. Offscreen, with the data folder
// of the source tree and a settings store of its own.
#include "highlighters/RegisterHighlighters.h"
#include "editor/qt/mwCustomEdit.h"
#include "platform/Registry.h"
#include "shell/MainForm.h"
#include "shell/Startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

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
