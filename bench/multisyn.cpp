// Throughput of the multi-language highlighter set up as the main window sets
// it up, on a generated 10 MB ASP page and a 10 MB PHP page, scanned line by
// line with the range carried as the editor's rescans carry it; and loading
// the ASP page into the editor's model with every range scanned.
#include "editor/mwCustomEditModel.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "highlighters/mwJScriptSyn.h"
#include "highlighters/wmMultiSyn.h"
#include "highlighters/wmMultiSynSetup.h"
#include "highlighters/wmPHPSyn.h"

#include <benchmark/benchmark.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr size_t kTextSize = 10 * 1024 * 1024;

// Blocks of lines drawn at random until the text has 10 MB; numbers vary so
// the text is not periodic.
std::vector<std::string> Generate(const std::vector<std::vector<std::string>>& blocks)
{
    std::mt19937 rng(4321);
    std::vector<std::string> lines;
    size_t size = 0;
    while (size < kTextSize) {
        for (std::string line : blocks[rng() % blocks.size()]) {
            line += " " + std::to_string(rng() % 1000);
            size += line.size() + 2;
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

const std::vector<std::string>& AspPage()
{
    static const auto lines = Generate({
        {"<tr><td class=\"name\"><%= rs(\"Name\") %></td><td>&nbsp;<b>Price:</b></td>",
         "<% If rs(\"Price\") > 100 Then Response.Write \"expensive\" End If %> <i>text</i>"},
        {"<p>Some plain text of a paragraph &amp; a <a href=\"page.asp?id=3\">link</a>.</p>",
         "<!-- a comment that runs", "     over two lines --> <br>"},
        {"<script language=\"VB\">", "  Dim total : total = 0 ' running total",
         "  For i = 1 To 10 : total = total + i * 2.5 : Next", "  MsgBox \"Total is \" & total",
         "</script>"},
        {"<script language=\"JScript\">", "  var items = new Array(1, 2, 3); /* the items",
         "     of the cart */ for (var i = 0; i < items.length; i++) { total += items[i]; }",
         "  document.write(\"<b>\" + total + \"</b>\"); // shown</script><hr>"},
        {"<style type=\"text/css\">", "  body { color: #336699; font-family: Verdana, Arial; margin: 0px }",
         "  .cell { padding: 2px; border: 1px solid black } /* cells */ </style>"},
        {"<table width=\"100%\" border=\"0\"><tr><td valign=\"top\">Cell text</td></tr></table>"},
    });
    return lines;
}

const std::vector<std::string>& PhpPage()
{
    static const auto lines = Generate({
        {"<tr><td class=\"name\"><?php echo $row['name']; ?></td><td>&nbsp;<b>Price:</b></td>",
         "<?php if ($row['price'] > 100) { echo \"expensive\"; } ?> <i>text</i>"},
        {"<p>Some plain text of a paragraph &amp; a <a href=\"page.php?id=3\">link</a>.</p>",
         "<!-- a comment that runs", "     over two lines --> <br>"},
        {"<?php", "  function total($items, $tax = 0.19) { /* the sum",
         "     of the items */ $sum = 0; foreach ($items as $i) { $sum += $i * 2.5; }",
         "    return $sum * (1 + $tax); // with tax", "  }", "?>"},
        {"<?php $s = \"a string with ?> inside\"; ?> and after it <em>html</em>"},
        {"<table width=\"100%\" border=\"0\"><tr><td valign=\"top\">Cell text</td></tr></table>"},
    });
    return lines;
}

struct TPageHighlighters {
    ThkHTMLSyn html;
    TwmPHPSyn php;
    TmwJScriptSyn js;
    TlbVbsSyn vbs;
    TmwCSSSyn css;
    TwmMultiSyn multi;
    TPageHighlighters() { SetupPageSchemes(multi, {&html, &php, &js, &vbs, &css}); }
};

void ScanPage(benchmark::State& state, const std::vector<std::string>& lines)
{
    TPageHighlighters h;
    size_t bytes = 0;
    for (const auto& line : lines)
        bytes += line.size();
    for (auto _ : state) {
        h.multi.ResetRange();
        std::int32_t range = h.multi.GetRange();
        int tokens = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            h.multi.SetRange(range);
            h.multi.SetLine(lines[i], static_cast<int>(i));
            while (!h.multi.GetEol()) {
                benchmark::DoNotOptimize(h.multi.GetTokenAttribute());
                ++tokens;
                h.multi.Next();
            }
            range = h.multi.GetRange();
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void BM_MultiSynAspPage(benchmark::State& state) { ScanPage(state, AspPage()); }
BENCHMARK(BM_MultiSynAspPage)->Unit(benchmark::kMillisecond);

void BM_MultiSynPhpPage(benchmark::State& state) { ScanPage(state, PhpPage()); }
BENCHMARK(BM_MultiSynPhpPage)->Unit(benchmark::kMillisecond);

// The ASP page as a file with CR LF, loaded into the model: every line's
// start range is scanned and stored.
void BM_LoadAspPageIntoEditor(benchmark::State& state)
{
    static const std::string text = [] {
        std::string t;
        for (const auto& line : AspPage())
            t += line + "\r\n";
        return t;
    }();
    TPageHighlighters h;
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::istringstream in(text);
            TmwCustomEditModel model;
            model.SetHighLighter(&h.multi);
            state.ResumeTiming();
            model.Lines().LoadFromStream(in);
            state.PauseTiming();
            benchmark::DoNotOptimize(model.Lines().Range(model.LineCount() - 1));
            model.SetHighLighter(nullptr);
        }
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LoadAspPageIntoEditor)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
