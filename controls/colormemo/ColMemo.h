// TColorMemo: a plain-text memo that paints coloured spans over its text by
// its colour rules, with hot spots that react to the mouse like links.
#pragma once

#include "controls/common/Events.h"
#include "controls/colormemo/ColMemoRules.h"
#include "platform/TStringList.h"

#include <QPlainTextEdit>

#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace vx {

class TColorMemo;

// Screen cursor number of the hot-spot cursor.
constexpr int crHotSpot = 1;

// The memo's lines: changing the list changes the text shown, and editing the
// text changes the list.
class TColorMemoLines : public TStringList {
public:
    explicit TColorMemoLines(TColorMemo& memo) : memo_(memo) {}

    // Appending a line adds it to the end of the text instead of setting the
    // whole text again, so filling the memo line by line stays linear.
    int Add(const std::string& s) override;

protected:
    void Changed() override;

private:
    TColorMemo& memo_;
    bool appending_ = false;
};

class TColorMemo : public QPlainTextEdit {
public:
    using THotSpotClickEvent = std::function<void(QObject* Sender, const std::string& SRC)>;
    using TDrawKeyEvent = std::function<void(QPainter& Canvas, const std::string& PKey, const QRect& Rect, TColor KColor)>;

    explicit TColorMemo(QWidget* parent = nullptr);

    TStrings& Lines() { return lines_; }
    const TStrings& Lines() const { return lines_; }
    std::string Text() const;

    TDrawRules& ColorRules() { return rules_; }
    void SetColorRules(const TDrawRules& value) { rules_.Assign(value); }
    int ColorLimMax() const { return colorLimMax_; }
    void SetColorLimMax(int value);
    bool RedrawAlways() const { return redrawAlways_; }
    void SetRedrawAlways(bool value) { redrawAlways_ = value; }
    const THotSpot& HotSpot() const { return hotSpot_; }
    void SetHotSpot(const THotSpot& value);

    // The text of the lines painting looks at, and the memo offset of its
    // first character. The rules read UTF-8 bytes, the memo counts UTF-16
    // units: Units holds, for each byte of Text and the end, its unit offset
    // from Base.
    struct TTextWindow {
        std::string Text;
        int Base = 0;
        std::vector<int> Units{0};
        // The first byte at or after a unit offset from Base.
        int ByteAt(int unit) const;
    };
    // The spans painting would use for the visible text, merged, in memo
    // offsets; exposed so the colouring can be checked without reading pixels.
    // Only the lines on view and the rules' look-back are read, so the cost
    // does not grow with the length of the text.
    std::vector<TKeyDescr> VisibleSpans(TTextWindow* shown = nullptr);
    // Asks for the colours to be painted again: the caret line or the view.
    virtual void PaintText(bool OnlyCaretLine);

    int CaretLine() const;
    int CaretColumn() const;
    int FirstVisibleLine() const;

    TNotifyEvent OnVScroll;
    TNotifyEvent OnHScroll;
    THotSpotClickEvent OnHotSpotClick;
    TColorRule::TDrawEvent OnDraw;
    TDrawKeyEvent OnDrawKey;
    std::function<void(QObject* Sender, QMouseEvent* event)> OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TColorMemoLines;
    void PushLines();
    void AppendLine(const std::string& line);
    void TextEdited();
    void RememberSize();
    // The text of the lines holding the offsets first..last (clamped), joined
    // by line breaks; base receives the offset of its first character.
    TTextWindow LinesText(int first, int last) const;
    void CollectSpans(const TTextWindow& window, int from, int to, std::vector<TKeyDescr>& spans);
    void VisibleRange(int& from, int& to) const;
    void PaintRun(QPainter& painter, const TTextWindow& window, const TKeyDescr& run);
    int PositionAt(const QPoint& point) const;

    TColorMemoLines lines_{*this};
    TDrawRules rules_{[this] { viewport()->update(); }};
    THotSpot hotSpot_;
    int colorLimMax_ = 0;
    std::vector<TKeyDescr> drawBuffer_;
    bool redrawAlways_ = false;
    bool syncing_ = false;
    bool hotCursor_ = false;
    int lastLineCount_ = 1;
    int lastLength_ = 0;
};

} // namespace vx
