// Highlighting throughput of the SQL, PHP, Perl and Tcl/Tk highlighters, each
// on about 10 MB of generated text of its language, scanned line by line with
// the range carried from line to line, as the editor's rescans do.
#include "bench/HighlighterBench.h"
#include "highlighters/DcjPerlSyn.h"
#include "highlighters/siTCLTKSyn.h"
#include "highlighters/wmPHPSyn.h"
#include "highlighters/wmSQLSyn.h"

namespace {

using vx::bench::GenerateText;

const std::vector<std::string>& SqlText()
{
    static const auto lines = GenerateText({
        "SELECT c.name, c.city, SUM(o.total) AS total FROM customers c",
        "  INNER JOIN orders o ON o.customer_id = c.id -- join the orders",
        "WHERE o.placed_at BETWEEN '2001-01-01' AND '2001-12-31' AND o.total > 12.5e-3",
        "GROUP BY c.name, c.city HAVING COUNT(*) > 3 ORDER BY total DESC;",
        "/* a block comment that spans",
        "   two lines */ UPDATE stock SET amount = amount - 1 WHERE item = \"widget\";",
        "INSERT INTO log (id, message) VALUES (0x1F, 'it''s done'); # note",
        "",
    });
    return lines;
}

const std::vector<std::string>& PhpText()
{
    static const auto lines = GenerateText({
        "function total($items, $tax = 0.19) {",
        "    $sum = 0; // running total",
        "    foreach ($items as $item) { $sum += $item->price * $item->qty; }",
        "    return $sum * (1 + $tax);",
        "}",
        "echo \"Total: \" . total($cart) . \"<br>\\n\"; /* shown",
        "   to the user */ if ($a <<= 2 && $b != 0x1F) { print 'done'; }",
        "$msg = 'a string that runs",
        "  over a line'; @mail($to, $subject, $msg); # sent",
    });
    return lines;
}

const std::vector<std::string>& PerlText()
{
    static const auto lines = GenerateText({
        "use strict; use vars qw($opt_v);",
        "my %seen = (); my @list = grep { !$seen{$_}++ } @ARGV;",
        "foreach my $line (<STDIN>) { chomp $line; next if $line =~ /^#/; }",
        "print \"Found $count matches\\n\" if $count > 0 and $verbose eq 'yes';",
        "$total += $price * 1.5e-3 for 1..10; # sum it up",
        "open(FH, \"<$file\") || die \"cannot open $file: $!\";",
        "sub max { my ($a, $b) = @_; return $a > $b ? $a : $b; }",
    });
    return lines;
}

const std::vector<std::string>& TclText()
{
    static const auto lines = GenerateText({
        "proc fact {n} {",
        "    if {$n <= 1} { return 1 } else { return [expr {$n * [fact [expr {$n - 1}]]}] }",
        "}",
        "# a comment line",
        "set result [fact 10]; puts \"Result: $result\"",
        "button .b -text \"Quit\" -command exit; pack .b -side left",
        "foreach item $list { lappend out [string toupper $item] } // done",
        "tk_popup .menu 100 200 1.5e3",
    });
    return lines;
}

template <class Highlighter> void Scan(benchmark::State& state, const std::vector<std::string>& lines)
{
    Highlighter hl;
    vx::bench::ScanText(state, hl, lines);
}

void BM_SQL(benchmark::State& state) { Scan<TwmSQLSyn>(state, SqlText()); }
void BM_PHP(benchmark::State& state) { Scan<TwmPHPSyn>(state, PhpText()); }
void BM_Perl(benchmark::State& state) { Scan<TDcjPerlSyn>(state, PerlText()); }
void BM_TclTk(benchmark::State& state) { Scan<TsiTCLTKSyn>(state, TclText()); }

} // namespace

BENCHMARK(BM_SQL)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PHP)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Perl)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TclTk)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
