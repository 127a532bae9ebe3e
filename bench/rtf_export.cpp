// RTF export of a generated 10 MB HTML page coloured by the HTML highlighter:
// the whole text and a selection of its middle, with and without background
// runs. Bytes are those of the editor text exported.
#include "bench/HighlighterBench.h"
#include "editor/mwCustomEditModel.h"
#include "editor/mwRtfExport.h"
#include "highlighters/hkHTMLSyn.h"

#include <benchmark/benchmark.h>

namespace {

const std::vector<std::string> kSamples = {
    "<table border=\"0\" cellpadding=\"2\" width=\"100%\">",
    "  <tr><td class=\"price\">Fish &amp; chips</td><td align=\"right\">4.50</td></tr>",
    "<!-- totals {per day} \\ week -->",
    "<p>Plain text with <b>bold</b> and <i>italic</i> words, 42 of them.</p>",
    "  <% Response.Write \"total: \" & total %>",
    "<a href=\"menu.asp?id=7\" target=\"_blank\">menu</a>&nbsp;&copy;",
};

struct Document {
    Document()
    {
        model.SetHighLighter(&html);
        TStringList lines;
        for (auto& line : vx::bench::GenerateText(kSamples)) {
            bytes += line.size() + 2;
            lines.Add(line);
        }
        model.SetLines(lines);
    }
    ~Document() { model.SetHighLighter(nullptr); }
    ThkHTMLSyn html;
    TmwCustomEditModel model;
    size_t bytes = 0;
};

Document& Doc()
{
    static Document doc;
    return doc;
}

void BM_RtfExportAll(benchmark::State& state)
{
    Document& doc = Doc();
    TmwRtfExport rtf;
    rtf.SetUseBackGround(state.range(0) != 0);
    size_t out = 0;
    for (auto _ : state) {
        rtf.ExportLines(1, doc.model.LineCount(), &doc.html, &doc.model);
        out = rtf.Buffer().size();
        benchmark::DoNotOptimize(out);
    }
    state.counters["rtf_MB"] = double(out) / 1e6;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(doc.bytes));
}
BENCHMARK(BM_RtfExportAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RtfExportSelection(benchmark::State& state)
{
    Document& doc = Doc();
    const int count = doc.model.LineCount();
    doc.model.SetBlockBegin(Point(5, count / 4));
    doc.model.SetBlockEnd(Point(5, count * 3 / 4));
    TmwRtfExport rtf;
    for (auto _ : state) {
        rtf.ExportSelection(&doc.html, &doc.model);
        benchmark::DoNotOptimize(rtf.Buffer().size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(doc.bytes / 2));
}
BENCHMARK(BM_RtfExportSelection)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
