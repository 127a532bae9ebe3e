// What the editor benchmarks share: the generated ASP pages of 0.1, 1 and
// 10 MB, of one line and of many, in ASCII and in UTF-8; an editor window
// showing 80 columns and 50 lines of one, at its start or around a place;
// the measure of opening a page, with the memory it takes; and the
// instructions a measure takes.
#pragma once

#include "bench/BenchPages.h"
#include "bench/InstructionCount.h"
#include "bench/ResidentMemory.h"
#include "bench/Utf8Text.h"
#include "editor/qt/mwCustomEdit.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include <malloc.h>

namespace vx::bench {

// Arguments: the page's size in units of 100 KB (1, 10, 100: 0.1, 1 and 10
// MB), and 1 for a page of one line, 0 for one with its line breaks.
inline std::size_t PageBytes(const benchmark::State& state) { return static_cast<std::size_t>(state.range(0)) * 100 * 1024; }
inline bool OneLine(const benchmark::State& state) { return state.range(1) != 0; }

inline std::string AspPage(std::size_t bytes, bool oneLine)
{
    return TPageWriter(11).Page(TPageWriter::kAsp, bytes, oneLine ? "" : "\r\n");
}
inline std::string AspPage(const benchmark::State& state) { return AspPage(PageBytes(state), OneLine(state)); }

// The same page with about a fifth of its letters outside ASCII.
inline std::string Utf8AspPage(const benchmark::State& state)
{
    return WithLettersOutsideAscii({AspPage(state)}).front();
}

inline void PageArgs(benchmark::internal::Benchmark* b)
{
    for (int oneLine : {1, 0})
        for (int size : {1, 10, 100})
            b->Args({size, oneLine});
}

// Shown, coloured by the multi-language highlighter or by the one of language.
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
    // The caret at place, in the middle of the view: the caret's part of
    // the line is shown, and typing there does not scroll.
    void ShowAt(TPoint place)
    {
        TmwCustomEditModel& m = edit.Model();
        m.SetCaretXY(place);
        m.SetLeftChar(m.DisplayColumn(place) - m.CharsInWindow() / 2);
    }
    // The text area painted into image; a function of its own, so that a
    // profiler can count one paint's instructions
    // (valgrind --tool=callgrind --toggle-collect='vx::bench::TView::Paint()').
    [[gnu::noinline]] void Paint()
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

// The instructions counted, per iteration, where the machine counts them.
inline void CountInstructions(benchmark::State& state, const TInstructionCount& instructions)
{
    const auto iterations = std::max<benchmark::IterationCount>(state.iterations(), 1);
    if (instructions.Available())
        state.counters["instructions"] = static_cast<double>(instructions.Count()) / static_cast<double>(iterations);
}

// Times body in each iteration, counting its instructions.
template <class Body> void CountedLoop(benchmark::State& state, Body body)
{
    const TInstructionCount instructions;
    instructions.Start();
    for (auto _ : state)
        body();
    instructions.Stop();
    CountInstructions(state, instructions);
}

// Times open(page, in) in each round, which opens the page (whose text in
// also reads, as from its file) and returns what holds it (closing it is not
// timed), and counts the resident memory the
// opened page holds per byte and the peak on the way, in the first round.
template <class Open> void MeasureOpening(benchmark::State& state, const std::string& page, Open open)
{
    double residentPerByte = 0;
    double peakPerByte = 0;
    bool first = true;
    const TInstructionCount instructions;
    for (auto _ : state) {
        state.PauseTiming();
        // The stream's own copy of the text is there before and after: only
        // what opening makes counts. Memory freed before goes back first, so
        // that what the page takes shows; later rounds reuse the first one's.
        std::istringstream in(page);
        malloc_trim(0);
        const double before = ResidentBytes();
        ResetPeakResident();
        state.ResumeTiming();
        instructions.Start();
        std::shared_ptr<void> opened = open(page, in);
        instructions.Stop();
        state.PauseTiming();
        if (std::exchange(first, false)) {
            residentPerByte = (ResidentBytes() - before) / static_cast<double>(page.size());
            peakPerByte = (PeakResidentBytes() - before) / static_cast<double>(page.size());
        }
        opened.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.size()));
    state.counters["resident_per_byte"] = residentPerByte;
    state.counters["peak_per_byte"] = peakPerByte;
    CountInstructions(state, instructions);
}

// Our side of opening: load fills an editor's model with the page, and
// every line is coloured by the page's highlighter.
template <class Load> std::shared_ptr<void> OpenWith(TPageHighlighters& h, Load load)
{
    auto model = std::make_shared<TmwCustomEditModel>();
    model->SetHighLighter(&h.multi);
    load(*model);
    benchmark::DoNotOptimize(model->Lines().Range(model->LineCount() - 1));
    return std::shared_ptr<void>(model.get(), [model](void*) { model->SetHighLighter(nullptr); });
}

// The page read from its stream.
inline std::shared_ptr<void> OpenInModel(std::istream& in, TPageHighlighters& h)
{
    return OpenWith(h, [&](TmwCustomEditModel& model) { model.Lines().LoadFromStream(in); });
}

} // namespace vx::bench
