// Loading and typing in the editor's model with the HTML highlighter attached:
// a generated 10 MB, 200,000-line HTML text. Reports time, and the heap the
// loaded lines hold per byte of text.
#include "editor/mwCustomEditModel.h"
#include "highlighters/hkHTMLSyn.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <sstream>
#include <string>

namespace {

// Lines of 50 bytes with CR LF (200,000 of them make 10 MB): tags, text,
// and a comment over three lines every hundred lines.
std::string HtmlText(int lineCount)
{
    static const char* const lines[] = {
        "  <td class=\"c\"><a href=\"page.html\">Link</a></td>",
        "    <p>Some plain text of a paragraph, long.</p>",
        "  <tr><td>Name</td><td>Value and some words</td>",
        "<div id=\"main\" style=\"color: red\">Content</div>",
    };
    std::string t;
    t.reserve(static_cast<size_t>(lineCount) * 50);
    for (int i = 0; i < lineCount; ++i) {
        if (i % 100 == 50)
            t += "<!-- a comment that runs over several lines ---";
        else if (i % 100 == 52)
            t += "     and ends here --> <b>bold text after</b>";
        else
            t += lines[i % 4];
        t.resize((t.size() / 50) * 50 + 48, ' ');
        t += "\r\n";
    }
    return t;
}

size_t HeapInUse() { return mallinfo2().uordblks; }

void BM_LoadHtml(benchmark::State& state)
{
    static const std::string text = HtmlText(200'000);
    ThkHTMLSyn html;
    double perByte = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::istringstream in(text);
            TmwCustomEditModel model;
            model.SetHighLighter(&html);
            size_t before = HeapInUse();
            state.ResumeTiming();
            model.Lines().LoadFromStream(in);
            state.PauseTiming();
            perByte = static_cast<double>(HeapInUse() - before) / static_cast<double>(text.size());
            benchmark::DoNotOptimize(model.LineCount());
            model.SetHighLighter(nullptr);
        }
        state.ResumeTiming();
    }
    state.counters["lines"] = 200'000;
    state.counters["text_MB"] = static_cast<double>(text.size()) / 1e6;
    state.counters["heap_bytes_per_text_byte"] = perByte;
}
BENCHMARK(BM_LoadHtml)->Unit(benchmark::kMillisecond)->Iterations(5);

// Typing one character in the middle of a document, where the line's end
// state does not change, and taking it out again: both rescan one line only,
// so the time does not grow with the document.
void BM_TypeInHugeDocument(benchmark::State& state)
{
    const int lineCount = static_cast<int>(state.range(0));
    ThkHTMLSyn html;
    TmwCustomEditModel model;
    model.SetHighLighter(&html);
    std::istringstream in(HtmlText(lineCount));
    model.Lines().LoadFromStream(in);
    const TPoint at = Point(10, lineCount / 2 + 1);
    for (auto _ : state) {
        model.SetCaretXY(at);
        model.SetSelText("x");
        model.SetBlockBegin(at);
        model.SetBlockEnd(Point(at.X + 1, at.Y));
        model.SetSelText("");
    }
    model.SetHighLighter(nullptr);
    state.counters["seconds_per_keystroke"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 2, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TypeInHugeDocument)->Arg(1'000)->Arg(200'000)->Arg(2'000'000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
