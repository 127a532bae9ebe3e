// What a keystroke and a repaint cost on pages as they come: an 80 x 50 view
// of minified one-line pages of 0.1, 1 and 10 MB (warm repaint, and a typed
// character with the repaint after it, also with lines after the long one,
// and there in a minified style sheet too),
// opening and colouring a 10 MB mixed ASP page, and the resident memory per
// byte of text of a 10 MB style sheet.
// Pages come from BenchPages.h, coloured by the multi-language highlighter as
// the main window sets it up.
#include "bench/BenchPages.h"
#include "bench/ResidentMemory.h"
#include "bench/QtBenchmarkMain.h"
#include "editor/qt/mwCustomEdit.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using vx::bench::kMB;
using vx::bench::TPageHighlighters;
using vx::bench::TPageWriter;

// An editor showing 80 columns and 50 lines of a page, coloured by the
// multi-language highlighter or by the one of language.
struct TView {
    explicit TView(const std::string& text, TmwCustomHighLighter* (*language)(TPageHighlighters&) = nullptr)
    {
        edit.show();
        QApplication::processEvents();
        TmwCustomEditModel& m = edit.Model();
        m.SetHighLighter(language ? language(h) : &h.multi);
        const int frameW = edit.width() - edit.viewport()->width();
        const int frameH = edit.height() - edit.viewport()->height();
        edit.resize(m.GutterWidth() + 2 + 80 * m.CharWidth() + frameW, 50 * m.LineHeight() + frameH);
        QApplication::processEvents();
        m.SetText(text);
        image = QImage(edit.viewport()->size(), QImage::Format_RGB32);
        Paint();
    }
    ~TView() { edit.Model().SetHighLighter(nullptr); }
    void Paint()
    {
        QPainter painter(&image);
        edit.Paint(painter, image.rect());
    }
    void Count(benchmark::State& state) const
    {
        state.counters["columns"] = edit.Model().CharsInWindow();
        state.counters["lines"] = edit.Model().LinesInWindow();
        state.counters["line_MB"] = static_cast<double>(edit.Model().LongestLine()) / kMB;
    }

    TPageHighlighters h;
    TmwCustomEdit edit;
    QImage image;
};

std::string OneLinePage(std::size_t bytes) { return TPageWriter(11).Page(TPageWriter::kAsp, bytes, ""); }

void BM_LongLineRepaint(benchmark::State& state)
{
    TView view(OneLinePage(static_cast<std::size_t>(state.range(0)) * 100 * 1024));
    for (auto _ : state) {
        view.Paint();
        benchmark::ClobberMemory();
    }
    view.Count(state);
}

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

void BM_LongLineKeystroke(benchmark::State& state)
{
    TypeAndRepaint(state, OneLinePage(static_cast<std::size_t>(state.range(0)) * 100 * 1024));
}

// The same keystroke with lines after the long one: the highlighter's state
// at the end of the long line is found again, which the multi-language
// highlighter does by scanning the line from its start (its block markers are
// searched over the whole line).
void BM_LongLineKeystrokeAboveText(benchmark::State& state)
{
    TypeAndRepaint(state, OneLinePage(static_cast<std::size_t>(state.range(0)) * 100 * 1024) +
                              "\r\n<p>after</p>\r\n<p>end</p>");
}

// The same in a minified style sheet, whose highlighter goes on scanning
// from states it keeps inside the line.
void BM_LongLineKeystrokeAboveTextStyleSheet(benchmark::State& state)
{
    TypeAndRepaint(state,
                   TPageWriter(11).StyleSheet(static_cast<std::size_t>(state.range(0)) * 100 * 1024, "") +
                       "\r\nbody { color: red }\r\np { margin: 0 }",
                   [](TPageHighlighters& h) -> TmwCustomHighLighter* { return &h.css; });
}

// Argument: the line's length in units of 100 KB (1, 10, 100: 0.1, 1 and 10 MB).
BENCHMARK(BM_LongLineRepaint)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongLineKeystroke)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongLineKeystrokeAboveText)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongLineKeystrokeAboveTextStyleSheet)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_OpenAndColourAsp10MB(benchmark::State& state)
{
    static const std::string page = TPageWriter(5).Page(TPageWriter::kAsp, 10 * kMB);
    TPageHighlighters h;
    for (auto _ : state) {
        std::istringstream in(page);
        auto model = std::make_unique<TmwCustomEditModel>();
        model->SetHighLighter(&h.multi);
        model->Lines().LoadFromStream(in);
        benchmark::DoNotOptimize(model->Lines().Range(model->LineCount() - 1));
        // Closing the page is not opening it.
        state.PauseTiming();
        model->SetHighLighter(nullptr);
        model.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.size()));
}
BENCHMARK(BM_OpenAndColourAsp10MB)->Unit(benchmark::kMillisecond)->Iterations(5);

using vx::bench::ResidentBytes;

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
