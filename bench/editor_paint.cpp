// Painting the editor control: a full repaint of a 1000 x 800 pixel editor
// showing a 200,000-line ASP page through the HTML highlighter, at the top,
// in the middle and at the end of the text, and a repaint after a page
// scroll. Painted offscreen into an image, as the window system would ask.
#include "bench/QtBenchmarkMain.h"
#include "editor/qt/mwCustomEdit.h"
#include "highlighters/hkHTMLSyn.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kLines = 200000;

std::string AspPage()
{
    static const char* const kBlock[] = {
        "<tr><td class=\"name\">&nbsp;<%= rs(\"customer\") %></td><td align=\"right\">12.50</td></tr>",
        "<% total = total + rs(\"amount\") : rs.MoveNext %>",
        "  <!-- a comment that says what the row holds, long enough to reach the right -->",
        "<p>Plain text of a paragraph with <b>bold</b> and <i>italic</i> words &amp; an entity.</p>",
        "\t<a href=\"orders.asp?id=<%= id %>\" title='Open the order'>Order</a>",
        "",
    };
    std::string text;
    text.reserve(static_cast<size_t>(kLines) * 70);
    for (int i = 0; i < kLines; ++i) {
        text += kBlock[i % 6];
        text += "\r\n";
    }
    return text;
}

struct PaintSetup {
    PaintSetup()
    {
        edit.resize(1000, 800);
        edit.show();
        QApplication::processEvents();
        TmwCustomEditModel& m = edit.Model();
        m.Gutter().SetShowLineNumbers(true);
        m.Gutter().SetAutoSize(true);
        m.SetHighLighter(&html);
        m.SetText(AspPage());
        m.SetBlockBegin(Point(5, 3));
        m.SetBlockEnd(Point(20, 9));
        image = QImage(edit.viewport()->size(), QImage::Format_RGB32);
    }
    void Paint()
    {
        QPainter painter(&image);
        edit.Paint(painter, image.rect());
    }

    ThkHTMLSyn html;
    TmwCustomEdit edit;
    QImage image;
};

// Made once the application exists, and gone before it is.
std::unique_ptr<PaintSetup> gSetup;

PaintSetup& Setup() { return *gSetup; }

void FullRepaintAt(benchmark::State& state, int topLine)
{
    PaintSetup& s = Setup();
    s.edit.Model().SetTopLine(topLine);
    for (auto _ : state) {
        s.Paint();
        benchmark::ClobberMemory();
    }
    state.counters["lines"] = s.edit.Model().LinesInWindow();
    state.counters["columns"] = s.edit.Model().CharsInWindow();
}

void BM_PaintTop(benchmark::State& state) { FullRepaintAt(state, 1); }
void BM_PaintMiddle(benchmark::State& state) { FullRepaintAt(state, kLines / 2); }
void BM_PaintEnd(benchmark::State& state)
{
    FullRepaintAt(state, kLines - Setup().edit.Model().LinesInWindow() + 1); // the last screenful
}

void BM_PageScroll(benchmark::State& state)
{
    PaintSetup& s = Setup();
    TmwCustomEditModel& m = s.edit.Model();
    m.SetTopLine(1);
    for (auto _ : state) {
        int next = m.TopLine() + m.LinesInWindow();
        m.SetTopLine(next > kLines - m.LinesInWindow() ? 1 : next);
        s.Paint();
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_PaintTop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageScroll)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return vx::bench::RunWithQtApplication(
        argc, argv, [] { gSetup = std::make_unique<PaintSetup>(); }, [] { gSetup.reset(); });
}
