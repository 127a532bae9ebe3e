// Highlighting throughput of the HTML, JScript, VBScript and CSS highlighters,
// each on about 10 MB of generated text of its language; the HTML and CSS
// highlighters also on pages and style sheets like real ones (BenchPages.h),
// the HTML page also in UTF-8 with a fifth of its letters outside ASCII.
#include "bench/BenchPages.h"
#include "bench/HighlighterBench.h"
#include "bench/Utf8Text.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "highlighters/mwJScriptSyn.h"

namespace {

using vx::bench::GenerateText;
using vx::bench::ScanText;

const std::vector<std::string>& HtmlText()
{
    static const auto lines = GenerateText({
        "<table border=\"0\" cellpadding=\"2\" cellspacing=\"0\" width=\"100%\">",
        "  <tr><td class=\"head\">Name</td><td align=right>Price &amp; tax</td></tr>",
        "<p class=\"intro\">Welcome to our shop &mdash; prices include <b>VAT</b> &amp; delivery.</p>",
        "<!-- navigation starts here",
        "     and ends here -->",
        "<% Response.Write \"<b>\" & rs(\"title\") & \"</b>\"",
        "   rs.MoveNext %> <a href=\"item.asp?id=12&amp;page=3\">Blue widget &copy; 2001</a>",
        "\t\t<img src=\"logo.gif\" alt=\"Logo\" width=120 height=60><br>",
        "<H1>Caf&eacute; &lt;menu&gt;</H1><hr noshade>",
        "",
    });
    return lines;
}

const std::vector<std::string>& JScriptText()
{
    static const auto lines = GenerateText({
        "function check(form) {",
        "  if (form.email.value.indexOf(\"@\") < 0) { alert('Bad address'); return false; }",
        "  var total = parseFloat(form.price.value) * 1.5e2 + 0x1F; // with tax",
        "  for (var i = 0; i < document.images.length; i++) { window.status += i; }",
        "  /* a comment that runs",
        "     over two lines */ document.write(\"<b>\" + Math.round(total) + \"</b>\");",
        "}",
    });
    return lines;
}

const std::vector<std::string>& VbsText()
{
    static const auto lines = GenerateText({
        "Dim rs, total : Set rs = Server.CreateObject(\"ADODB.Recordset\")",
        "If Request(\"id\") <> \"\" Then total = total + CInt(rs(\"qty\")) * 1.5 ' running sum",
        "  Response.Write \"<b>\" & rs(\"title\") & \"</b>\" & &H1F",
        "Else d = #1/1/2001# : Call ShowError(\"missing id\") End If",
        "Function Max(a, b) : If a > b Then Max = a Else Max = b : End Function",
        "For i = 1 To 10 Step 2 : Next",
    });
    return lines;
}

const std::vector<std::string>& CssText()
{
    static const auto lines = GenerateText({
        "body { font-family: Verdana, Arial, \"Times New Roman\"; font-size: 10pt; }",
        "a:hover { color: #FF0000; text-decoration: underline; }",
        "  margin-left: 1.5em; padding: 2px 4px; background: url('back.gif') #fff;",
        "/* layout of the",
        "   navigation bar */ #nav { position: absolute; top: 10px; width: 120px; }",
        "h1, h2 { line-height: 1.2; text-align: center; }",
    });
    return lines;
}

void BM_HTML(benchmark::State& state)
{
    ThkHTMLSyn hl;
    ScanText(state, hl, HtmlText());
}

void BM_JScript(benchmark::State& state)
{
    TmwJScriptSyn hl;
    ScanText(state, hl, JScriptText());
}

void BM_VBScript(benchmark::State& state)
{
    TlbVbsSyn hl;
    ScanText(state, hl, VbsText());
}

void BM_CSS(benchmark::State& state)
{
    TmwCSSSyn hl;
    ScanText(state, hl, CssText());
}

void BM_HTMLPage(benchmark::State& state)
{
    static const auto lines =
        vx::bench::SplitLines(vx::bench::TPageWriter(77).Page(vx::bench::TPageWriter::kHtml, vx::bench::kTextSize));
    ThkHTMLSyn hl;
    ScanText(state, hl, lines);
}

// The same page with a fifth of its letters outside ASCII.
void BM_HTMLPageUtf8(benchmark::State& state)
{
    static const auto lines = vx::bench::WithLettersOutsideAscii(
        vx::bench::SplitLines(vx::bench::TPageWriter(77).Page(vx::bench::TPageWriter::kHtml, vx::bench::kTextSize)));
    ThkHTMLSyn hl;
    ScanText(state, hl, lines);
}

void BM_CSSStyleSheet(benchmark::State& state)
{
    static const auto lines = vx::bench::SplitLines(vx::bench::TPageWriter(78).StyleSheet(vx::bench::kTextSize));
    TmwCSSSyn hl;
    ScanText(state, hl, lines);
}

} // namespace

BENCHMARK(BM_HTMLPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HTMLPageUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CSSStyleSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HTML)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JScript)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VBScript)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CSS)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
