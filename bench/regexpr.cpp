// Finding every match of the multi-language highlighter's seven block-marker
// expressions, line by line, in a generated 10 MB ASP/PHP page: TRegExpr
// (also on the page in UTF-8, a fifth of its letters outside ASCII), and
// PCRE2's interpreter on the same work when it is available.
#include "bench/Utf8Text.h"
#include "highlighters/RegExpr.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#ifdef VX_HAVE_PCRE2
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>
#endif

namespace {

const char* const kExpressions[] = {
    "<\\?([pP][hH][pP])?",
    "<script language=\"([jJ][sS][cC][rR][iI][pP][tT])\">",
    "<script language=(\"[vV][bB]\")>",
    "<style type=(\"[tT][eE][xX][tT]/[cC][sS][sS]\")>",
    "\\?>",
    "</script>",
    "</style>",
};

using Block = std::vector<const char*>;

const std::vector<Block>& Blocks()
{
    static const std::vector<Block> blocks = {
        {"<table border=\"0\" cellpadding=\"2\" cellspacing=\"0\" width=\"100%\">",
         "  <tr><td class=\"head\">Name</td><td class=\"head\">Price</td></tr>",
         "  <tr><td><a href=\"item.asp?id=12&amp;page=3\">Blue widget</a></td><td>12.50</td></tr>",
         "</table>"},
        {"<p class=\"intro\">Welcome to our shop. Prices include <b>VAT</b> &amp; delivery.</p>",
         "<br>", "", "<!-- navigation starts here -->",
         "<div id=\"nav\"><a href=\"/index.php\">Home</a> | <a href=\"/contact.php\">Contact</a></div>"},
        {"<?php", "  $total = 0;", "  foreach ($items as $item) {",
         "    $total += $item['price'] * $item['qty']; // running sum", "  }",
         "  echo \"<p>Total: \" . number_format($total, 2) . \"</p>\";", "?>"},
        {"<td><?php echo htmlspecialchars($row['name']); ?></td><td><? echo $row['qty'] ?></td>",
         "<?PHP if ($user->isAdmin()) { ?><a href=\"admin.php\">Admin</a><?php } ?>"},
        {"<script language=\"JScript\">", "  function check(form) {",
         "    if (form.email.value.indexOf(\"@\") < 0) { alert(\"Bad address\"); return false; }",
         "    return true; /* all fine */", "  }", "</script>"},
        {"<script language=\"VB\">", "  Sub Window_OnLoad()",
         "    MsgBox \"Loaded at \" & Now() ' greeting", "  End Sub", "</script>"},
        {"<style type=\"text/css\">", "  body { font-family: Verdana, Arial; font-size: 10pt; }",
         "  a:hover { color: #FF0000; text-decoration: underline; }", "</style>"},
        {"<% Dim rs : Set rs = Server.CreateObject(\"ADODB.Recordset\") %>",
         "<% Response.Write \"<b>\" & rs(\"title\") & \"</b>\" %>",
         "<input type=\"text\" name=\"q\" value=\"<%= Request(\"q\") %>\" size=\"30\">"},
    };
    return blocks;
}

// Lines of a page of about `bytes` bytes, always the same for one size.
std::vector<std::string> GeneratePage(std::size_t bytes)
{
    std::mt19937 rng(1234);
    std::vector<std::string> lines;
    std::size_t size = 0;
    while (size < bytes) {
        const Block& block = Blocks()[rng() % Blocks().size()];
        const std::string indent(rng() % 4 * 2, ' ');
        for (const char* line : block) {
            lines.push_back(indent + line);
            size += lines.back().size() + 2;
        }
    }
    return lines;
}

const std::vector<std::string>& Page()
{
    static const std::vector<std::string> page = GeneratePage(10 * 1024 * 1024);
    return page;
}

std::size_t Bytes(const std::vector<std::string>& page)
{
    std::size_t n = 0;
    for (const std::string& line : page)
        n += line.size();
    return n;
}

std::size_t PageBytes() { return Bytes(Page()); }

// Every match of one expression in a line, as the multi-language highlighter
// collects them: after a match the search goes on one character past its end.
template <class Find>
std::size_t AllMatches(std::string_view line, Find find)
{
    std::size_t found = 0;
    std::size_t offset = 0;
    std::size_t pos = 0, len = 0;
    while (offset < line.size() && find(line.substr(offset), pos, len)) {
        ++found;
        offset += pos + len + 1;
    }
    return found;
}

void SearchEveryLine(benchmark::State& state, const std::vector<std::string>& page)
{
    std::vector<std::unique_ptr<TRegExpr>> res;
    for (const char* expr : kExpressions) {
        res.push_back(std::make_unique<TRegExpr>());
        res.back()->SetExpression(expr);
    }
    std::size_t markers = 0;
    for (auto _ : state) {
        markers = 0;
        for (const std::string& line : page)
            for (auto& re : res)
                markers += AllMatches(line, [&](std::string_view rest, std::size_t& pos, std::size_t& len) {
                    if (!re->Exec(rest))
                        return false;
                    pos = std::size_t(re->MatchPos(0) - 1);
                    len = std::size_t(re->MatchLen(0));
                    return true;
                });
        benchmark::DoNotOptimize(markers);
    }
    state.counters["markers"] = double(markers);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Bytes(page)));
}
void BM_TRegExpr(benchmark::State& state) { SearchEveryLine(state, Page()); }
BENCHMARK(BM_TRegExpr)->Unit(benchmark::kMillisecond);

void BM_TRegExprUtf8(benchmark::State& state)
{
    static const auto page = vx::bench::WithLettersOutsideAscii(Page());
    SearchEveryLine(state, page);
}
BENCHMARK(BM_TRegExprUtf8)->Unit(benchmark::kMillisecond);

// The same work the way the multi-language highlighter does it: one engine
// that takes each scheme's expressions in turn, for every line.
void BM_TRegExprTakingTurns(benchmark::State& state)
{
    const char* const turns[] = {kExpressions[0], kExpressions[1], kExpressions[2], kExpressions[3],
                                 kExpressions[4], kExpressions[5], kExpressions[5], kExpressions[6]};
    TRegExpr re;
    std::size_t markers = 0;
    for (auto _ : state) {
        markers = 0;
        for (const std::string& line : Page())
            for (const char* expr : turns) {
                re.SetExpression(expr);
                markers += AllMatches(line, [&](std::string_view rest, std::size_t& pos, std::size_t& len) {
                    if (!re.Exec(rest))
                        return false;
                    pos = std::size_t(re.MatchPos(0) - 1);
                    len = std::size_t(re.MatchLen(0));
                    return true;
                });
            }
        benchmark::DoNotOptimize(markers);
    }
    state.counters["markers"] = double(markers);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(PageBytes()));
}
BENCHMARK(BM_TRegExprTakingTurns)->Unit(benchmark::kMillisecond);

#ifdef VX_HAVE_PCRE2
void BM_Pcre2Interpreter(benchmark::State& state)
{
    std::vector<pcre2_code*> codes;
    for (const char* expr : kExpressions) {
        int error = 0;
        PCRE2_SIZE at = 0;
        codes.push_back(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expr), PCRE2_ZERO_TERMINATED, 0, &error, &at, nullptr));
    }
    pcre2_match_data* data = pcre2_match_data_create(10, nullptr);
    std::size_t markers = 0;
    for (auto _ : state) {
        markers = 0;
        for (const std::string& line : Page())
            for (pcre2_code* code : codes)
                markers += AllMatches(line, [&](std::string_view rest, std::size_t& pos, std::size_t& len) {
                    if (pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(rest.data()), rest.size(), 0, 0, data, nullptr) < 0)
                        return false;
                    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
                    pos = ovector[0];
                    len = ovector[1] - ovector[0];
                    return true;
                });
        benchmark::DoNotOptimize(markers);
    }
    state.counters["markers"] = double(markers);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(PageBytes()));
    pcre2_match_data_free(data);
    for (pcre2_code* code : codes)
        pcre2_code_free(code);
}
BENCHMARK(BM_Pcre2Interpreter)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
