// Our editor beside QScintilla, a widely used editor control, on the same
// generated ASP pages (EditorBench.h), in an 80 x 50 view:
// - opening and colouring a page, with the peak and resident memory per byte;
//   also the page in UTF-8 with a fifth of its letters outside ASCII, which
//   ours first checks to be UTF-8, as it opens every file;
// - a warm repaint of the whole window (frame and scroll bars with the
//   text) as the window system repaints it when uncovered, and of its text
//   area alone, as after a change of the text, with column 1 in view;
// - a warm repaint of the text area with the middle of a page of one line
//   in view, and a character typed there, from the key press to the window
//   painted.
//
// The measures run in interleaved rounds: each round runs every pair, ours
// first, then the peer's, and the program closes with each pair's ratio
// ours / peer (below 1: ours is faster or takes less) as the median over
// the rounds of the ratio of their times, with the ratio of the
// instructions they take beside it, a figure the load of the machine does
// not move. Five rounds unless --rounds=N says otherwise:
//   build/release/bench/bench_editor_peer --rounds=7
// The peer is the Debian package libqscintilla2-qt6-dev, used through its
// public interface only; without it, only our side runs. The peer is given
// the page's bytes straight, without undo collection, and its HTML lexer
// (which colours ASP's server blocks and client scripts) styles the whole
// text: its quickest way of opening a page.
#include "bench/EditorBench.h"
#include "bench/QtBenchmarkMain.h"
#include "editor/qt/uTextDrawer.h"
#include "platform/TextEncoding.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#ifdef VX_HAVE_QSCINTILLA
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>
#endif

namespace {

using vx::bench::AspPage;
using vx::bench::CountedLoop;
using vx::bench::TPageHighlighters;
using vx::bench::TView;
using vx::bench::Utf8AspPage;

// A repaint of the whole window, frame and scroll bars with the text, into
// an image as the window's backing store would take it; and one of the text
// area through the window system, as after a change of the text.
[[gnu::noinline]] void RepaintWindow(QWidget& window)
{
    static QImage image;
    if (image.size() != window.size())
        image = QImage(window.size(), QImage::Format_RGB32);
    window.render(&image);
}

[[gnu::noinline]] void RepaintText(QWidget& viewport)
{
    viewport.update();
    QApplication::processEvents();
}

// A character typed into the window as the window system delivers a key,
// and the window repainted.
[[gnu::noinline]] void TypeAndRepaint(QWidget& window)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(&window, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(&window, &release);
    QApplication::processEvents();
}

// Where the view stands: at the page's start, or around the middle of its first line.
enum TPlace { kStart, kMiddle };

void BM_Ours_OpenAndColour(benchmark::State& state)
{
    TPageHighlighters h;
    vx::bench::MeasureOpening(state, AspPage(state),
                              [&](const std::string&, std::istream& in) { return vx::bench::OpenInModel(in, h); });
}

// A UTF-8 page goes the way the program opens a file: its bytes are found
// to be UTF-8, then become the text.
void BM_Ours_OpenAndColourUtf8(benchmark::State& state)
{
    TPageHighlighters h;
    vx::bench::MeasureOpening(state, Utf8AspPage(state), [&](const std::string& page, std::istream&) {
        return vx::bench::OpenWith(h, [&](TmwCustomEditModel& model) {
            vx::TDecodedText decoded = vx::DecodeDocument(page);
            model.Lines().SetText(decoded.Text);
            model.SetEncoding(decoded.Encoding);
        });
    });
}

template <void (*Measure)(QWidget&), bool WholeWindow, TPlace Place> void BM_Ours(benchmark::State& state)
{
    TView view(AspPage(state));
    TmwCustomEditModel& m = view.edit.Model();
    const TPoint place = Place == kMiddle ? Point(static_cast<int>(m.Lines().Length(0) / 2), 1) : Point(1, 1);
    view.ShowAt(place);
    view.edit.setFocus();
    QApplication::processEvents();
    QWidget& target = WholeWindow ? static_cast<QWidget&>(view.edit) : *view.edit.viewport();
    CountedLoop(state, [&] {
        // Typing goes on at the same place, which stays in the middle of the view.
        if constexpr (Measure == TypeAndRepaint)
            m.SetCaretXY(place);
        Measure(target);
    });
    view.Count(state);
}

#ifdef VX_HAVE_QSCINTILLA

// The peer's editor with its HTML lexer, in our view's font.
struct TPeer {
    explicit TPeer(bool utf8 = false)
    {
        TmwCustomEdit ours;
        const QFont font = ours.TextDrawer().BaseFont();
        lexer.setDefaultFont(font);
        lexer.setFont(font, -1);
        edit.setLexer(&lexer);
        edit.setUtf8(utf8);
    }
    ~TPeer() { edit.setLexer(nullptr); }
    void Open(const std::string& page)
    {
        edit.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL, 0L);
        edit.SendScintilla(QsciScintillaBase::SCI_SETTEXT, page.c_str());
        edit.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
        edit.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        edit.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL, 0L);
    }
    // Shown with 80 columns and 50 lines, the line numbers in a margin as
    // wide as ours.
    void Show(int marginWidth)
    {
        edit.setMarginLineNumbers(0, true);
        edit.setMarginWidth(0, marginWidth);
        edit.setMarginWidth(1, 0);
        edit.show();
        QApplication::processEvents();
        const int cw = static_cast<int>(edit.SendScintilla(QsciScintillaBase::SCI_TEXTWIDTH, 32UL, "M"));
        const int lh = static_cast<int>(edit.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL, 0L));
        const int frameW = edit.width() - edit.viewport()->width();
        const int frameH = edit.height() - edit.viewport()->height();
        edit.resize(marginWidth + 80 * cw + frameW, 50 * lh + frameH);
        QApplication::processEvents();
    }
    // The caret at byte pos, scrolled into view.
    void ShowAt(long pos) { edit.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(pos)); }

    QsciLexerHTML lexer;
    QsciScintilla edit;
};

template <bool Utf8> void BM_Peer_OpenAndColour(benchmark::State& state)
{
    TPeer peer(Utf8);
    vx::bench::MeasureOpening(state, Utf8 ? Utf8AspPage(state) : AspPage(state),
                              [&](const std::string& page, std::istream&) {
                                  peer.Open(page);
                                  return std::shared_ptr<void>(&peer,
                                                               [](void* p) { static_cast<TPeer*>(p)->edit.clear(); });
                              });
}

template <void (*Measure)(QWidget&), bool WholeWindow, TPlace Place> void BM_Peer(benchmark::State& state)
{
    TPeer peer;
    {
        TView ours("");
        peer.Show(ours.edit.Model().GutterWidth());
    }
    const std::string page = AspPage(state);
    peer.Open(page);
    const long place =
        Place == kMiddle ? static_cast<long>(std::min(page.find_first_of("\r\n"), page.size()) / 2) : 0;
    peer.ShowAt(place);
    peer.edit.setFocus();
    QApplication::processEvents();
    QWidget& target = WholeWindow ? static_cast<QWidget&>(peer.edit) : *peer.edit.viewport();
    Measure(target);
    CountedLoop(state, [&] {
        if constexpr (Measure == TypeAndRepaint)
            peer.ShowAt(place);
        Measure(target);
    });
}

#endif

// One pair: ours, and the peer's where it is there.
struct TPair {
    const char* name;
    void (*ours)(benchmark::State&);
    void (*peer)(benchmark::State&);
    benchmark::TimeUnit unit;
    int iterations; // 0: as many as the library takes
    bool manyLines; // also on pages with their line breaks
};

#ifdef VX_HAVE_QSCINTILLA
#define VX_PEER(f) f
#else
#define VX_PEER(f) nullptr
#endif

const TPair kPairs[] = {
    {"OpenAndColour", BM_Ours_OpenAndColour, VX_PEER(BM_Peer_OpenAndColour<false>), benchmark::kMillisecond, 5, true},
    {"OpenAndColourUtf8", BM_Ours_OpenAndColourUtf8, VX_PEER(BM_Peer_OpenAndColour<true>), benchmark::kMillisecond, 5,
     true},
    {"WindowRepaint", BM_Ours<RepaintWindow, true, kStart>, VX_PEER((BM_Peer<RepaintWindow, true, kStart>)),
     benchmark::kMicrosecond, 0, true},
    {"TextRepaint", BM_Ours<RepaintText, false, kStart>, VX_PEER((BM_Peer<RepaintText, false, kStart>)),
     benchmark::kMicrosecond, 0, true},
    {"TextRepaintMiddle", BM_Ours<RepaintText, false, kMiddle>, VX_PEER((BM_Peer<RepaintText, false, kMiddle>)),
     benchmark::kMicrosecond, 0, false},
    {"TypeMiddle", BM_Ours<TypeAndRepaint, true, kMiddle>, VX_PEER((BM_Peer<TypeAndRepaint, true, kMiddle>)),
     benchmark::kMicrosecond, 0, false},
};

// Each round runs every pair on every page, ours first.
void RegisterRounds(int rounds)
{
    for (int round = 0; round < rounds; ++round)
        for (const TPair& pair : kPairs)
            for (int oneLine : {1, 0}) {
                if (!oneLine && !pair.manyLines)
                    continue;
                for (int size : {1, 10, 100})
                    for (auto [side, fn] : {std::pair{"Ours/", pair.ours}, std::pair{"Peer/", pair.peer}}) {
                        if (!fn)
                            continue;
                        auto* b = benchmark::RegisterBenchmark((std::string(side) + pair.name).c_str(), fn)
                                      ->Args({size, oneLine})
                                      ->Unit(pair.unit);
                        if (pair.iterations > 0)
                            b->Iterations(pair.iterations);
                    }
            }
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// The console's report, and at its end each pair's figures over the rounds.
class TRoundsReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            TFigures& f = figures_[run.benchmark_name()];
            f.time.push_back(run.GetAdjustedRealTime());
            for (const char* counter : {"instructions", "peak_per_byte"})
                if (auto it = run.counters.find(counter); it != run.counters.end())
                    f.counters[counter].push_back(it->second.value);
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nmedians over the rounds; ours / peer: the median of the rounds' ratios\n");
        std::printf("%-28s %7s %12s %12s %10s %12s %10s\n", "pair (size/one line)", "rounds", "ours time",
                    "peer time", "ours/peer", "instr ratio", "peak/byte");
        for (const auto& [name, ours] : figures_) {
            if (name.rfind("Ours/", 0) != 0)
                continue;
            auto peer = figures_.find("Peer/" + name.substr(5));
            if (peer == figures_.end())
                continue;
            const TFigures& p = peer->second;
            const size_t rounds = std::min(ours.time.size(), p.time.size());
            std::vector<double> ratios;
            for (size_t r = 0; r < rounds; ++r)
                ratios.push_back(ours.time[r] / p.time[r]);
            std::printf("%-28s %7zu %12.1f %12.1f %10.3f %12.3f", name.substr(5).c_str(), rounds, Median(ours.time),
                        Median(p.time), Median(ratios), Ratio(ours, p, "instructions"));
            if (const double peak = Ratio(ours, p, "peak_per_byte"); peak > 0)
                std::printf(" %10.3f", peak);
            std::printf("\n");
        }
        std::printf("(times in each measure's unit above; an instruction ratio of 0: the machine counts none)\n");
    }

private:
    struct TFigures {
        std::vector<double> time;
        std::map<std::string, std::vector<double>> counters;
    };
    // The ratio of the medians of a counter; 0 where either side lacks it.
    static double Ratio(const TFigures& ours, const TFigures& peer, const char* counter)
    {
        auto a = ours.counters.find(counter);
        auto b = peer.counters.find(counter);
        if (a == ours.counters.end() || b == peer.counters.end() || Median(b->second) <= 0)
            return 0;
        return Median(a->second) / Median(b->second);
    }
    std::map<std::string, TFigures> figures_;
};

// Takes --rounds=N out of the arguments; 5 without it.
int TakeRounds(int& argc, char** argv)
{
    int rounds = 5;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rounds=", 9) != 0)
            continue;
        rounds = std::max(1, std::atoi(argv[i] + 9));
        for (int j = i; j + 1 < argc; ++j)
            argv[j] = argv[j + 1];
        --argc;
        break;
    }
    return rounds;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = TakeRounds(argc, argv);
    TRoundsReporter reporter;
    return vx::bench::RunWithQtApplication(argc, argv, [rounds] { RegisterRounds(rounds); }, {}, &reporter);
}
