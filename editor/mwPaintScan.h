// What a paint shows of one line: the tokens that reach the cells in view,
// each at the cell it shows in, with the highlighter's attribute. A long
// line is scanned from the state kept nearest before the view, by earlier
// paints (TmwPaintStates) or by the model's rescans, and read only as far
// as the view and what its last token reads past it: the tokens are those
// of a scan of the painted line from its start, and a paint costs what it
// shows, wherever in the line that is.
#pragma once

#include "editor/mwPaintStates.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class TmwCustomEditModel;
class TmwCustomHighLighter;
class TmwHighLightAttributes;
class TmwResumableScan;

struct TmwPaintToken {
    int Column = 0; // first cell, 1-based
    int Cells = 0;
    std::string Text; // as painted: tabs expanded
    // Null for a token without one, and for the text of a line without highlighter.
    TmwHighLightAttributes* Attribute = nullptr;
    bool operator==(const TmwPaintToken&) const = default;
};

struct TmwPaintLine {
    std::vector<TmwPaintToken> Tokens;
    // The cell (1-based) after the line's text; past the last cell asked
    // for when the text goes on beyond it.
    int EndColumn = 1;
    // The byte of the line the scan began at: 0, or a kept state's.
    std::size_t From = 0;
};

class TmwPaintScan {
public:
    // Bytes read past the last cell in view, for the token there and what
    // it reads after it; more where that is not enough.
    static constexpr std::size_t kReadPast = 1024;

    // Serves one paint: the model's highlighter stays as it is while it lives.
    TmwPaintScan(const TmwCustomEditModel& model, TmwPaintStates& states);

    // The tokens of line index (0-based) that reach cells firstCol..lastCol (1-based).
    void Scan(int index, int firstCol, int lastCol, TmwPaintLine& out);

private:
    using TState = TmwPaintStates::TState;
    using TKey = TmwPaintStates::TKey;
    struct TWindow;

    void ScanPlain(int index, std::size_t first, std::size_t last, TmwPaintLine& out) const;
    // Scans window; false when its last token in view may read past it.
    bool ScanWindow(TWindow& window, std::size_t first, std::size_t last, TmwPaintLine& out);
    // The state to start the line's scan at for cell first: a paint's, or
    // one of the model's, whichever is nearer; none for the line's start.
    std::optional<TState> StartFor(int index, const TKey& key, std::size_t first);
    // The model's kept state of line index nearest before cell first and
    // past byte after, where it holds for the painted text.
    std::optional<TState> KeptByModel(int index, const TKey& key, std::size_t first, std::size_t after) const;
    // Where line index has its first tab, or its length.
    std::size_t FirstTab(int index) const;

    const TmwCustomEditModel& model_;
    TmwPaintStates& states_;
    TmwCustomHighLighter* highlighter_;
    // Asked once: the multi-language highlighter asks each of its own.
    TmwResumableScan* resumable_;
    int margin_;
};
