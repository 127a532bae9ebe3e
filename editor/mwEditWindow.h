// The two narrow interfaces between the editor's model and the window that
// shows it: the metrics the model reads, and the updates it reports.
#pragma once

#include <algorithm>

// A pixel rectangle of the window's client area; Right and Bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect UnionRect(const TRect& a, const TRect& b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                 std::max(a.Bottom, b.Bottom)};
}

class TmwEditMetrics {
public:
    virtual ~TmwEditMetrics() = default;
    // False while there is nothing on screen to update (no window, or hidden).
    virtual bool WindowExists() const = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // The text drawer's cell size for the editor font, in the given style.
    virtual int CharWidth(bool bold) const = 0;
    virtual int CharHeight(bool italic) const = 0;
};

class TmwEditView {
public:
    virtual ~TmwEditView() = default;
    // Repaint this part of the client area later, without erasing it.
    virtual void InvalidateRect(const TRect& rect) = 0;
    // Move the window contents down by dy pixels (up when negative).
    virtual void ScrollText(int dy) = 0;
    // The model's scroll position or size changed.
    virtual void UpdateScrollBars() = 0;
    // Place the system caret at the model's caret.
    virtual void UpdateCaret() = 0;
    // Insert mode, caret shapes or metrics changed.
    virtual void RecreateCaret() = 0;
    // The border style or the scroll bars to show changed.
    virtual void WindowStyleChanged() = 0;
};
