// Our editor beside QScintilla, a widely used editor control, on the same
// generated ASP pages (EditorBench.h): opening and colouring a page, with
// the peak and resident memory per byte, and a warm repaint of an 80 x 50
// view, of the whole window as the window system repaints it when uncovered
// and of its text area alone, as after a change of the text.
//
// Each pair runs ours first, then the peer's, so that one run of the program
// is one interleaved round; it closes with the ratios ours / peer (below 1:
// ours is faster or takes less). Run it five times for five rounds:
//   for i in 1 2 3 4 5; do build/release/bench/bench_editor_peer; done
// The peer is the Debian package libqscintilla2-qt6-dev, used through its
// public interface only; without it, only our side runs. The peer is given
// the page's bytes straight, without undo collection, and its HTML lexer
// (which colours ASP's server blocks and client scripts) styles the whole
// text: its quickest way of opening a page.
#include "bench/EditorBench.h"
#include "bench/QtBenchmarkMain.h"
#include "editor/qt/uTextDrawer.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdio>
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
using vx::bench::PageArgs;
using vx::bench::TPageHighlighters;
using vx::bench::TView;

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

void BM_Ours_OpenAndColour(benchmark::State& state)
{
    TPageHighlighters h;
    vx::bench::MeasureOpening(state, AspPage(state),
                              [&](const std::string&, std::istream& in) { return vx::bench::OpenInModel(in, h); });
}

template <void (*Repaint)(QWidget&), bool WholeWindow> void BM_Ours_Repaint(benchmark::State& state)
{
    TView view(AspPage(state));
    QApplication::processEvents();
    QWidget& target = WholeWindow ? static_cast<QWidget&>(view.edit) : *view.edit.viewport();
    for (auto _ : state)
        Repaint(target);
    view.Count(state);
}

#ifdef VX_HAVE_QSCINTILLA

// The peer's editor with its HTML lexer, in our view's font.
struct TPeer {
    TPeer()
    {
        TmwCustomEdit ours;
        const QFont font = ours.TextDrawer().BaseFont();
        lexer.setDefaultFont(font);
        lexer.setFont(font, -1);
        edit.setLexer(&lexer);
        edit.setUtf8(false);
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

    QsciLexerHTML lexer;
    QsciScintilla edit;
};

void BM_Peer_OpenAndColour(benchmark::State& state)
{
    TPeer peer;
    vx::bench::MeasureOpening(state, AspPage(state), [&](const std::string& page, std::istream&) {
        peer.Open(page);
        return std::shared_ptr<void>(&peer, [](void* p) { static_cast<TPeer*>(p)->edit.clear(); });
    });
}

template <void (*Repaint)(QWidget&), bool WholeWindow> void BM_Peer_Repaint(benchmark::State& state)
{
    TPeer peer;
    {
        TView ours("");
        peer.Show(ours.edit.Model().GutterWidth());
    }
    peer.Open(AspPage(state));
    QApplication::processEvents();
    QWidget& target = WholeWindow ? static_cast<QWidget&>(peer.edit) : *peer.edit.viewport();
    Repaint(target);
    for (auto _ : state)
        Repaint(target);
}

#endif

// Interleaved: each of ours is followed by the peer's.
void Pairs()
{
    for (int oneLine : {1, 0})
        for (int size : {1, 10, 100}) {
            auto add = [&](const std::string& name, void (*fn)(benchmark::State&), benchmark::TimeUnit unit,
                           int iterations) {
                auto* b = benchmark::RegisterBenchmark(name.c_str(), fn)
                              ->Args({size, oneLine})
                              ->Unit(unit);
                if (iterations > 0)
                    b->Iterations(iterations);
            };
            add("Ours/OpenAndColour", BM_Ours_OpenAndColour, benchmark::kMillisecond, 5);
#ifdef VX_HAVE_QSCINTILLA
            add("Peer/OpenAndColour", BM_Peer_OpenAndColour, benchmark::kMillisecond, 5);
#endif
            add("Ours/WindowRepaint", BM_Ours_Repaint<RepaintWindow, true>, benchmark::kMicrosecond, 0);
#ifdef VX_HAVE_QSCINTILLA
            add("Peer/WindowRepaint", BM_Peer_Repaint<RepaintWindow, true>, benchmark::kMicrosecond, 0);
#endif
            add("Ours/TextRepaint", BM_Ours_Repaint<RepaintText, false>, benchmark::kMicrosecond, 0);
#ifdef VX_HAVE_QSCINTILLA
            add("Peer/TextRepaint", BM_Peer_Repaint<RepaintText, false>, benchmark::kMicrosecond, 0);
#endif
        }
}

// The console's report, and at its end each measure's ratio ours / peer.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            TFigures& f = figures_[run.benchmark_name()];
            f.time = run.GetAdjustedRealTime();
            for (const char* counter : {"peak_per_byte", "resident_per_byte"})
                if (auto it = run.counters.find(counter); it != run.counters.end())
                    f.counters[counter] = it->second.value;
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-36s %12s %12s\n", "ours / peer", "time", "peak/byte");
        for (const auto& [name, ours] : figures_) {
            if (name.rfind("Ours/", 0) != 0)
                continue;
            auto peer = figures_.find("Peer/" + name.substr(5));
            if (peer == figures_.end())
                continue;
            std::printf("%-36s %12.3f", name.substr(5).c_str(), ours.time / peer->second.time);
            auto oursPeak = ours.counters.find("peak_per_byte");
            auto peerPeak = peer->second.counters.find("peak_per_byte");
            if (oursPeak != ours.counters.end() && peerPeak != peer->second.counters.end() && peerPeak->second > 0)
                std::printf(" %12.3f", oursPeak->second / peerPeak->second);
            std::printf("\n");
        }
    }

private:
    struct TFigures {
        double time = 0;
        std::map<std::string, double> counters;
    };
    std::map<std::string, TFigures> figures_;
};

} // namespace

int main(int argc, char** argv)
{
    TRatioReporter reporter;
    return vx::bench::RunWithQtApplication(argc, argv, Pairs, {}, &reporter);
}
