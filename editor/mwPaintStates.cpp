// Highlighter states kept along long lines for painting.
#include "editor/mwPaintStates.h"

#include <algorithm>
#include <iterator>

TmwPaintStates::TLine* TmwPaintStates::Find(int index)
{
    const auto it = std::find_if(lines_.begin(), lines_.end(), [&](const TLine& line) { return line.Index == index; });
    return it == lines_.end() ? nullptr : &*it;
}

TmwPaintStates::TLine& TmwPaintStates::Line(int index, const TKey& key)
{
    TLine* line = Find(index);
    if (!line) {
        if (lines_.size() >= kLines)
            lines_.erase(std::min_element(lines_.begin(), lines_.end(),
                                          [](const TLine& a, const TLine& b) { return a.Used < b.Used; }));
        line = &lines_.emplace_back();
        line->Index = index;
        line->Key = key;
    } else if (!(line->Key == key)) {
        line->Key = key;
        line->States.clear();
        line->Anchor.reset();
    }
    line->Used = ++clock_;
    return *line;
}

const TmwPaintStates::TState* TmwPaintStates::Nearest(int index, const TKey& key, std::size_t cell)
{
    if (!Find(index))
        return nullptr;
    const TLine& line = Line(index, key);
    const auto after = std::upper_bound(line.States.begin(), line.States.end(), cell,
                                        [](std::size_t c, const TState& state) { return c < state.Cell; });
    const TState* nearest = after == line.States.begin() ? nullptr : &*std::prev(after);
    if (line.Anchor && line.Anchor->Cell <= cell && (!nearest || line.Anchor->Pos > nearest->Pos))
        nearest = &*line.Anchor;
    return nearest;
}

void TmwPaintStates::Keep(int index, const TKey& key, TState state, bool anchor)
{
    TLine& line = Line(index, key);
    if (anchor) {
        line.Anchor = std::move(state);
        return;
    }
    const auto at = std::lower_bound(line.States.begin(), line.States.end(), state.Pos,
                                     [](const TState& kept, std::size_t pos) { return kept.Pos < pos; });
    if (at == line.States.end() || at->Pos != state.Pos)
        line.States.insert(at, std::move(state));
}

void TmwPaintStates::Edited(int index, std::size_t pos)
{
    TLine* line = Find(index);
    if (!line)
        return;
    // Tokens before a state read at most Margin bytes past it, and the text
    // before it, tabs expanded, depends on nothing after it.
    const auto margin = static_cast<std::size_t>(std::max(line->Key.Margin, 0));
    const auto reaches = [&](const TState& state) { return state.Pos + margin > pos; };
    line->States.erase(std::find_if(line->States.begin(), line->States.end(), reaches), line->States.end());
    if (line->Anchor && reaches(*line->Anchor))
        line->Anchor.reset();
}

void TmwPaintStates::LineInserted(int index)
{
    for (TLine& line : lines_)
        if (line.Index >= index)
            ++line.Index;
}

void TmwPaintStates::LineDeleted(int index)
{
    std::erase_if(lines_, [&](const TLine& line) { return line.Index == index; });
    for (TLine& line : lines_)
        if (line.Index > index)
            --line.Index;
}
