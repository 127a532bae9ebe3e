// Painting the colour memo: a 600 x 400 pixel memo holding a 200,000-line SQL
// script, coloured by a keyword rule, a comment rule and hot spots, painted at
// the top, in the middle and at the end of the text, and with everything
// selected. Painted offscreen into an image, as the window system would ask.
#include "controls/colormemo/ColMemo.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int kLines = 200000;

QString Script()
{
    static const char* const kBlock[] = {
        "select name, total from orders where id = {42} order by name;",
        "/* the totals of the day, grouped by customer */",
        "insert into totals (name, total) values ('Smith', 12.50);",
        "update orders set paid = 1 where total > 100 and name like 'S%';",
        "",
    };
    std::string text;
    text.reserve(static_cast<size_t>(kLines) * 50);
    for (int i = 0; i < kLines; ++i) {
        text += kBlock[i % 5];
        text += '\n';
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

TStringList List(std::initializer_list<const char*> items)
{
    TStringList list;
    for (const char* item : items)
        list.Add(item);
    return list;
}

struct MemoSetup {
    MemoSetup()
    {
        memo.resize(600, 400);
        memo.show();
        QApplication::processEvents();
        vx::TColorRule& keywords = memo.ColorRules().Add();
        keywords.SetKeyDrawingType(vx::dtKeyShow);
        keywords.SetKeywords(List({"select;navy", "insert;navy", "update;navy", "from;blue", "where;blue"}));
        vx::TColorRule& comments = memo.ColorRules().Add();
        comments.SetKeyDrawingType(vx::dtBeginEnd);
        comments.SetKeyBegEndLst(List({"/*;*/;gray"}));
        comments.SetKeyMaxHeight(3);
        vx::THotSpot hot;
        hot.Active = true;
        hot.BeginChar = '{';
        hot.EndChar = '}';
        memo.SetHotSpot(hot);
        memo.setPlainText(Script());
        image = QImage(memo.viewport()->size(), QImage::Format_RGB32);
    }
    void Paint()
    {
        memo.viewport()->render(&image);
    }

    vx::TColorMemo memo;
    QImage image;
};

// Made once the application exists, and gone before it is.
std::unique_ptr<MemoSetup> gSetup;

void PaintAt(benchmark::State& state, double where)
{
    MemoSetup& s = *gSetup;
    QScrollBar* bar = s.memo.verticalScrollBar();
    bar->setValue(static_cast<int>(bar->maximum() * where));
    for (auto _ : state) {
        s.Paint();
        benchmark::ClobberMemory();
    }
    state.counters["first_line"] = s.memo.FirstVisibleLine();
}

void BM_PaintTop(benchmark::State& state) { PaintAt(state, 0.0); }
void BM_PaintMiddle(benchmark::State& state) { PaintAt(state, 0.5); }
void BM_PaintEnd(benchmark::State& state) { PaintAt(state, 1.0); }

void BM_PaintEndAllSelected(benchmark::State& state)
{
    gSetup->memo.selectAll();
    PaintAt(state, 1.0);
    gSetup->memo.moveCursor(QTextCursor::Start);
}

BENCHMARK(BM_PaintTop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintEndAllSelected)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    gSetup = std::make_unique<MemoSetup>();
    benchmark::RunSpecifiedBenchmarks();
    gSetup.reset();
    benchmark::Shutdown();
    return 0;
}
