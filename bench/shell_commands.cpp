// The main window's long commands on large inputs, offscreen: a replacement
// over every line of documents of 1 to 10 MB (the time should grow linearly
// with the size), and the file panel listing a folder of 10,000 files.
#include "editor/qt/mwCustomEdit.h"
#include "highlighters/RegisterHighlighters.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/Startup.h"
#include "shell/qt/menu/TextCommands.h"
#include "shell/qt/panels/FilePanel.h"
#include "shell/qt/panels/SidePanels.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

std::unique_ptr<TForm1> gForm;
fs::path gFolder;

// Lines of 50 bytes with CR LF.
std::string Document(int lineCount)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(lineCount) * 50);
    for (int i = 0; i < lineCount; ++i)
        text += "  <td class=\"c\"><a href=\"page.html\">Link</a></td>\r\n";
    return text;
}

void BM_ReplaceAllWithProgress(benchmark::State& state)
{
    TmwCustomEdit* editor = gForm->SlotEditor(1);
    if (gForm->ActiveEditor() != editor) {
        state.SkipWithError("slot 1 has no focus");
        for (auto _ : state) {
        }
        return;
    }
    const std::string text = Document(static_cast<int>(state.range(0)));
    editor->Model().SetText(text);
    // Each pass changes every line; the second puts the text back for the next round.
    const vx::shell::TReplacement there[] = {{"td", "th"}};
    const vx::shell::TReplacement back[] = {{"th", "td"}};
    for (auto _ : state) {
        vx::shell::ReplaceAllWithProgress(*gForm, there);
        vx::shell::ReplaceAllWithProgress(*gForm, back);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size() * 2));
}

// 20,000 lines are 1 MB.
BENCHMARK(BM_ReplaceAllWithProgress)
    ->Arg(20'000)
    ->Arg(50'000)
    ->Arg(100'000)
    ->Arg(200'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Complexity(benchmark::oN);

void BM_ListFolderOf10000Files(benchmark::State& state)
{
    vx::shell::TFilePanel* panel = vx::shell::FilePanel(*gForm);
    panel->SetMasks("*.*");
    panel->SetFolder(gFolder.string());
    for (auto _ : state)
        benchmark::DoNotOptimize(panel->RefreshFileList());
    state.counters["files"] = panel->FileCount();
}

BENCHMARK(BM_ListFolderOf10000Files)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const fs::path scratch = fs::temp_directory_path() / "vellumix-bench-shell";
    fs::remove_all(scratch);
    fs::create_directories(scratch / "config");
    fs::create_directories(scratch / "home" / "data");
    gFolder = scratch / "folder";
    fs::create_directories(gFolder);
    for (int i = 0; i < 10'000; ++i)
        std::ofstream(gFolder / ("page" + std::to_string(i) + (i % 2 ? ".asp" : ".htm"))) << "x";
    setenv("VELLUMIX_CONFIG", (scratch / "config").c_str(), 1);
    setenv("VELLUMIX_HOME", (scratch / "home").c_str(), 1);
    RegisterAllHighlighters();
    QApplication app(argc, argv);
    gForm.reset(CreateMainWindows([](int, const char*) {}));
    gForm->show();
    if (gForm->FirstActivation())
        gForm->FormActivate();
    // The assistant window came up on activation: the main window takes the focus back.
    gForm->activateWindow();
    QApplication::processEvents();
    gForm->SlotEditor(1)->setFocus();
    QApplication::processEvents();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gForm.reset();
    fs::remove_all(scratch);
    return 0;
}
