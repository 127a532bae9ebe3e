// A window for the editor model's tests: fixed metrics (8 x 16 pixel cells,
// no gutter) and a log of what the model asked to update.
#pragma once

#include "editor/mwEditWindow.h"

#include <vector>

class TFakeEditWindow : public TmwEditMetrics, public TmwEditView {
public:
    static constexpr int CharW = 8;
    static constexpr int LineH = 16;

    // A window showing columns x lines cells right of a 30-pixel gutter.
    explicit TFakeEditWindow(int columns = 80, int lines = 25)
        : width(30 + 2 + columns * CharW), height(lines * LineH)
    {
    }

    bool WindowExists() const override { return exists; }
    int ClientWidth() const override { return width; }
    int ClientHeight() const override { return height; }
    int CharWidth(bool) const override { return CharW; }
    int CharHeight(bool) const override { return LineH; }
    void InvalidateRect(const TRect& rect) override { invalidated.push_back(rect); }
    void ScrollText(int dy) override { scrolled.push_back(dy); }
    void UpdateScrollBars() override { ++scrollBarUpdates; }
    void UpdateCaret() override { ++caretUpdates; }
    void RecreateCaret() override { ++caretRecreations; }
    void WindowStyleChanged() override { ++styleChanges; }

    // The 1-based visible rows (top line 1) that invalidations touched, in the text area.
    std::vector<int> InvalidatedRows(int gutterWidth) const
    {
        std::vector<int> rows;
        for (const TRect& r : invalidated) {
            if (r.Right <= gutterWidth)
                continue;
            for (int row = r.Top / LineH; row < (r.Bottom + LineH - 1) / LineH; ++row)
                rows.push_back(row + 1);
        }
        return rows;
    }

    bool exists = true;
    int width;
    int height;
    std::vector<TRect> invalidated;
    std::vector<int> scrolled;
    int scrollBarUpdates = 0;
    int caretUpdates = 0;
    int caretRecreations = 0;
    int styleChanges = 0;
};
