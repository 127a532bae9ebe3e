// Loading and typing in the editor's model with a highlighter attached: a
// generated 10 MB, 200,000-line HTML text. Reports time, and the heap the
// loaded lines hold per byte of text.
//
// The highlighter here is a small HTML scanner of this benchmark's own (tags,
// text, and comments that span lines), standing in for the language
// highlighters: what is measured is the line store and its range rescans.
#include "editor/mwCustomEditModel.h"
#include "editor/mwHighlighter.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <sstream>
#include <string>

namespace {

class TBenchHtml : public TmwCustomHighLighter {
public:
    enum Range { rsText, rsTag, rsComment };
    enum Kind { tkNull, tkText, tkTag, tkComment };

    TBenchHtml()
    {
        tag_ = AddAttribute(mwAttrName::Key);
        comment_ = AddAttribute(mwAttrName::Comment);
    }
    TmwHighLightAttributes* GetDefaultAttribute(int) const override { return nullptr; }
    std::string GetLanguageName() const override { return "Bench HTML"; }
    void ExportNext() override { Next(); }
    bool GetEol() const override { return kind_ == tkNull; }
    std::int32_t GetRange() const override { return range_; }
    std::string GetToken() const override { return line_.substr(pos_, run_ - pos_); }
    TmwHighLightAttributes* GetTokenAttribute() const override
    {
        return kind_ == tkTag ? tag_ : kind_ == tkComment ? comment_ : nullptr;
    }
    int GetTokenKind() const override { return kind_; }
    int GetTokenPos() const override { return static_cast<int>(pos_); }
    void SetLine(const std::string& value, int) override
    {
        line_ = value;
        run_ = 0;
        Next();
    }
    void SetLineForExport(const std::string& value) override { SetLine(value, 0); }
    void SetRange(std::int32_t value) override { range_ = value; }
    void ResetRange() override { range_ = rsText; }

    void Next() override
    {
        pos_ = run_;
        const size_t n = line_.size();
        if (run_ >= n) {
            kind_ = tkNull;
            return;
        }
        if (range_ == rsComment) {
            kind_ = tkComment;
            size_t end = line_.find("-->", run_);
            run_ = end == std::string::npos ? n : end + 3;
            if (end != std::string::npos)
                range_ = rsText;
            return;
        }
        if (range_ == rsTag) {
            kind_ = tkTag;
            size_t end = line_.find('>', run_);
            run_ = end == std::string::npos ? n : end + 1;
            if (end != std::string::npos)
                range_ = rsText;
            return;
        }
        if (line_.compare(run_, 4, "<!--") == 0) {
            range_ = rsComment;
            run_ += 4;
            kind_ = tkComment;
            return;
        }
        if (line_[run_] == '<') {
            range_ = rsTag;
            ++run_;
            kind_ = tkTag;
            return;
        }
        kind_ = tkText;
        size_t end = line_.find('<', run_);
        run_ = end == std::string::npos ? n : end;
    }

private:
    TmwHighLightAttributes* tag_;
    TmwHighLightAttributes* comment_;
    std::string line_;
    size_t run_ = 0;
    size_t pos_ = 0;
    Kind kind_ = tkNull;
    std::int32_t range_ = rsText;
};

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
    TBenchHtml html;
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
    TBenchHtml html;
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
