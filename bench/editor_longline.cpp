// The four costs of editing pages as they come, on generated mixed ASP pages
// (HTML, client script, style sheets and server blocks) of 0.1, 1 and 10 MB,
// minified to one line and with their line breaks, in an 80 x 50 view
// coloured by the multi-language highlighter as the main window sets it up:
// - the first keystroke into a freshly opened page, and the ones after it;
// - a keystroke with lines after it, whose end state the highlighter finds
//   again (and in a minified style sheet);
// - a warm repaint: the text painted into an image, and the window repainted
//   through the window system after its text changed;
// - opening and colouring the page, with the resident and the peak memory
//   the opened page takes per byte of text.
// Pages and the view come from EditorBench.h.
#include "bench/EditorBench.h"
#include "bench/QtBenchmarkMain.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>

namespace {

using vx::bench::AspPage;
using vx::bench::kMB;
using vx::bench::OneLine;
using vx::bench::PageArgs;
using vx::bench::PageBytes;
using vx::bench::ResidentBytes;
using vx::bench::TPageHighlighters;
using vx::bench::TPageWriter;
using vx::bench::TView;

// Where a keystroke goes: the middle of the long line, or column 40 of the
// middle line of a page with line breaks.
TPoint TypingPlace(const TmwCustomEditModel& m, bool oneLine)
{
    return oneLine ? Point(static_cast<int>(m.Lines().Length(0) / 2), 1) : Point(40, m.LineCount() / 2);
}

void BM_FirstKeystroke(benchmark::State& state)
{
    const std::string page = AspPage(state);
    TView view(page);
    TmwCustomEditModel& m = view.edit.Model();
    for (auto _ : state) {
        state.PauseTiming();
        m.SetText(page);
        m.SetCaretXY(TypingPlace(m, OneLine(state)));
        state.ResumeTiming();
        m.CommandProcessor(ecChar, 'x', nullptr);
    }
    view.Count(state);
}

void BM_LaterKeystroke(benchmark::State& state)
{
    TView view(AspPage(state));
    TmwCustomEditModel& m = view.edit.Model();
    const TPoint place = TypingPlace(m, OneLine(state));
    m.SetCaretXY(place);
    m.CommandProcessor(ecChar, 'x', nullptr);
    for (auto _ : state) {
        m.SetCaretXY(place);
        m.CommandProcessor(ecChar, 'x', nullptr);
    }
    view.Count(state);
}

BENCHMARK(BM_FirstKeystroke)->Apply(PageArgs)->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(BM_LaterKeystroke)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);

// A character typed at column 40 of the first line of page, and the repaint after it.
void TypeAndRepaint(benchmark::State& state, const std::string& page,
                    TmwCustomHighLighter* (*language)(TPageHighlighters&) = nullptr)
{
    TView view(page, language);
    TmwCustomEditModel& m = view.edit.Model();
    for (auto _ : state) {
        m.SetCaretXY(Point(40, 1));
        m.CommandProcessor(ecChar, 'x', nullptr);
        view.Paint();
        benchmark::ClobberMemory();
    }
    view.Count(state);
}

// The keystroke with lines after the first: the highlighter's state at the
// end of the first line is found again, from the states it keeps inside a
// long line.
void BM_KeystrokeAboveText(benchmark::State& state)
{
    TypeAndRepaint(state, AspPage(state) + "\r\n<p>after</p>\r\n<p>end</p>");
}

// The same in a minified style sheet.
void BM_KeystrokeAboveTextStyleSheet(benchmark::State& state)
{
    TypeAndRepaint(state,
                   TPageWriter(11).StyleSheet(PageBytes(state), "") + "\r\nbody { color: red }\r\np { margin: 0 }",
                   [](TPageHighlighters& h) -> TmwCustomHighLighter* { return &h.css; });
}

BENCHMARK(BM_KeystrokeAboveText)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeAboveTextStyleSheet)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

// The text of the view painted into an image.
void BM_TextRepaint(benchmark::State& state)
{
    TView view(AspPage(state));
    for (auto _ : state) {
        view.Paint();
        benchmark::ClobberMemory();
    }
    view.Count(state);
}

// The window repainted as the window system does it after the text changed:
// whatever the widget marks for repainting is painted and shown. A function
// of its own, so that a profiler can count one repaint's instructions
// (valgrind --tool=callgrind --toggle-collect=RepaintAfterTextChange).
[[gnu::noinline]] void RepaintAfterTextChange(TmwCustomEditModel& m)
{
    m.Invalidate();
    QApplication::processEvents();
}

void BM_WindowRepaintAfterTextChange(benchmark::State& state)
{
    TView view(AspPage(state));
    TmwCustomEditModel& m = view.edit.Model();
    QApplication::processEvents();
    for (auto _ : state)
        RepaintAfterTextChange(m);
    view.Count(state);
}

BENCHMARK(BM_TextRepaint)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowRepaintAfterTextChange)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);

// Opening the page into an editor's model and colouring every line; the
// resident memory the opened page holds per byte, and the peak on the way.
void BM_OpenAndColour(benchmark::State& state)
{
    TPageHighlighters h;
    vx::bench::MeasureOpening(state, AspPage(state),
                              [&](const std::string&, std::istream& in) { return vx::bench::OpenInModel(in, h); });
}
BENCHMARK(BM_OpenAndColour)->Apply(PageArgs)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ResidentPerByteCss10MB(benchmark::State& state)
{
    const std::string css = TPageWriter(9).StyleSheet(10 * kMB);
    TmwCSSSyn highlighter;
    double perByte = 0;
    for (auto _ : state) {
        // The stream's own copy of the text is there before and after: only the lines count.
        std::istringstream in(css);
        const double before = ResidentBytes();
        auto model = std::make_unique<TmwCustomEditModel>();
        model->SetHighLighter(&highlighter);
        model->Lines().LoadFromStream(in);
        perByte = (ResidentBytes() - before) / static_cast<double>(css.size());
        model->SetHighLighter(nullptr);
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.counters["resident_per_byte"] = perByte;
    state.counters["lines"] = static_cast<double>(std::count(css.begin(), css.end(), '\n'));
    state.counters["bytes_per_line"] = static_cast<double>(css.size()) / state.counters["lines"];
}
BENCHMARK(BM_ResidentPerByteCss10MB)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) { return vx::bench::RunWithQtApplication(argc, argv); }
