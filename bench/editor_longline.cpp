// The four costs of editing pages as they come, on generated mixed ASP pages
// (HTML, client script, style sheets and server blocks) of 0.1, 1 and 10 MB,
// minified to one line and with their line breaks, in an 80 x 50 view
// coloured by the multi-language highlighter as the main window sets it up:
// - the first keystroke into a freshly opened page, and the ones after it;
// - a keystroke with lines after it, whose end state the highlighter finds
//   again (and in a minified style sheet), and the text repainted after it,
//   near the line's start and with the caret in the middle of the long line
//   (the middle line of a page with line breaks) and its part in view;
// - a warm repaint: the text painted into an image, at the page's start and
//   at the caret's part of it, and the window repainted through the window
//   system after its text changed;
// - the keystroke and the repaint at the caret on the same pages in UTF-8,
//   a fifth of their letters outside ASCII: flat in the line's length too;
// - opening and colouring the page, with the resident and the peak memory
//   the opened page takes per byte of text.
// The keystrokes and repaints count their instructions besides their times.
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
using vx::bench::Utf8AspPage;

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

// Where the view stands: around column 40 of the first line, or around the
// place a keystroke goes (TypingPlace), the caret's part of the page.
enum TPlace { kStart, kCaret };

TPoint PlaceOf(const TmwCustomEditModel& m, TPlace place, bool oneLine)
{
    return place == kStart ? Point(40, 1) : TypingPlace(m, oneLine);
}

// A character typed at place of page, with place's part of the page in
// view, and the text area repainted after it.
void TypeAndRepaint(benchmark::State& state, const std::string& page, TPlace where,
                    TmwCustomHighLighter* (*language)(TPageHighlighters&) = nullptr)
{
    TView view(page, language);
    TmwCustomEditModel& m = view.edit.Model();
    const TPoint place = PlaceOf(m, where, OneLine(state));
    // Typed where the window showed the place already.
    view.ShowAt(place);
    view.Paint();
    vx::bench::CountedLoop(state, [&] {
        m.SetCaretXY(place);
        m.CommandProcessor(ecChar, 'x', nullptr);
        view.Paint();
        benchmark::ClobberMemory();
    });
    view.Count(state);
}

// The keystroke with lines after the first: the highlighter's state at the
// end of the first line is found again, from the states it keeps inside a
// long line.
void BM_KeystrokeAboveText(benchmark::State& state, TPlace where)
{
    TypeAndRepaint(state, AspPage(state) + "\r\n<p>after</p>\r\n<p>end</p>", where);
}

// The same in a minified style sheet.
void BM_KeystrokeAboveTextStyleSheet(benchmark::State& state, TPlace where)
{
    TypeAndRepaint(state,
                   TPageWriter(11).StyleSheet(PageBytes(state), "") + "\r\nbody { color: red }\r\np { margin: 0 }",
                   where, [](TPageHighlighters& h) -> TmwCustomHighLighter* { return &h.css; });
}

// A keystroke at the caret of a UTF-8 page.
void BM_KeystrokeUtf8(benchmark::State& state) { TypeAndRepaint(state, Utf8AspPage(state), kCaret); }

void StyleSheetArgs(benchmark::internal::Benchmark* b)
{
    for (int size : {1, 10, 100})
        b->Args({size, 1});
}

BENCHMARK_CAPTURE(BM_KeystrokeAboveText, start, kStart)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_KeystrokeAboveText, caret, kCaret)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_KeystrokeAboveTextStyleSheet, start, kStart)->Apply(StyleSheetArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_KeystrokeAboveTextStyleSheet, caret, kCaret)->Apply(StyleSheetArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeUtf8)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);

// The text of the view painted into an image, the view at place.
void TextRepaint(benchmark::State& state, const std::string& page, TPlace where)
{
    TView view(page);
    view.ShowAt(PlaceOf(view.edit.Model(), where, OneLine(state)));
    view.Paint();
    vx::bench::CountedLoop(state, [&] {
        view.Paint();
        benchmark::ClobberMemory();
    });
    view.Count(state);
}

void BM_TextRepaint(benchmark::State& state, TPlace where) { TextRepaint(state, AspPage(state), where); }
void BM_TextRepaintUtf8(benchmark::State& state) { TextRepaint(state, Utf8AspPage(state), kCaret); }

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

BENCHMARK_CAPTURE(BM_TextRepaint, start, kStart)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TextRepaint, caret, kCaret)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextRepaintUtf8)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);
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
