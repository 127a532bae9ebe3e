// The editor's line store.
#include "editor/mwEditList.h"

#include "platform/FreedMemory.h"

#include <algorithm>


template <class Body> void TmwEditList::Updating(Body body)
{
    BeginUpdate();
    try {
        body();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TmwEditList::Add(const std::string& s)
{
    int index = 0;
    Updating([&] {
        index = TStringList::Add(s);
        if (OnAdded)
            OnAdded(this);
    });
    return index;
}

void TmwEditList::AddRead(std::string_view line)
{
    if (OnAdded || Sorted())
        TStringList::AddRead(line);
    else
        AppendItem(line);
}

int TmwEditList::AddChunks(std::unique_ptr<TLineChunks> line)
{
    if (Sorted())
        return TStringList::AddChunks(std::move(line));
    int index = 0;
    Updating([&] {
        // Stored as read: a long line of a page is not held twice on the way.
        index = InsertChunks(Count(), std::move(line));
        if (OnAdded)
            OnAdded(this);
    });
    return index;
}

void TmwEditList::AddStrings(const TStringList& strings)
{
    Updating([&] {
        // Copy first: strings may be this list.
        const TStringList source(strings);
        std::string line;
        for (int i = 0; i < source.Count(); ++i) {
            line.assign(source.View(i));
            TStringList::Add(line);
        }
        if (OnScanRanges)
            OnScanRanges(this);
    });
}

void TmwEditList::Assign(const TStringList& source)
{
    BeginLoad();
    try {
        TStringList::Assign(source);
    } catch (...) {
        EndLoad();
        throw;
    }
    EndLoad();
}

void TmwEditList::Clear()
{
    if (OnCleared)
        OnCleared(this);
    TStringList::Clear();
    if (loadCount_ == 0 && Count() == 0)
        Add("");
}

void TmwEditList::Delete(int index)
{
    Updating([&] {
        if (index == 0 && Count() == 1)
            TStringList::Put(0, "");
        else
            TStringList::Delete(index);
        if (OnDeleted)
            OnDeleted(index);
    });
}

void TmwEditList::Insert(int index, const std::string& s)
{
    Updating([&] {
        TStringList::Insert(index, s);
        if (OnInserted)
            OnInserted(index);
    });
}

void TmwEditList::Put(int index, std::string s)
{
    Updating([&] {
        TStringList::Put(index, std::move(s));
        if (OnLinePut)
            OnLinePut(index);
    });
}

void TmwEditList::ReplaceText(int index, size_t pos, size_t count, std::string_view text)
{
    Updating([&] {
        const size_t length = Length(index);
        const size_t from = std::min(pos, length);
        const size_t removed = std::min(count, length - from);
        TStringList::ReplaceText(index, pos, count, text);
        if (OnTextReplaced)
            OnTextReplaced(index, from, removed, text.size());
        if (OnLinePut)
            OnLinePut(index);
    });
}

template <class Store> void TmwEditList::Loading(Store store)
{
    Updating([&] {
        // The load bracket keeps Clear from putting back an empty first line
        // that the new text would then follow.
        BeginLoad();
        try {
            store();
        } catch (...) {
            EndLoad();
            throw;
        }
        EndLoad();
        if (OnTextLoaded)
            OnTextLoaded(this);
    });
}

void TmwEditList::SetTextStr(std::string_view value)
{
    Loading([&] { TStringList::SetTextStr(value); });
}

void TmwEditList::LoadFromStream(std::istream& in)
{
    BeginLoad();
    try {
        // Read a block at a time: the text is never held whole besides its lines.
        const auto load = [&] { Loading([&] { SetTextFromStream(in); }); };
        Updating([&] {
            if (!OnScanRanges) {
                load();
                return;
            }
            // One scan over all lines afterwards instead of one step per line.
            TListEvent added = std::move(OnAdded);
            OnAdded = nullptr;
            try {
                load();
            } catch (...) {
                OnAdded = std::move(added);
                throw;
            }
            OnScanRanges(this);
            OnAdded = std::move(added);
        });
    } catch (...) {
        EndLoad();
        throw;
    }
    EndLoad();
    // The read buffer (as big as the longest line) is free now but may lie
    // below the lines in the heap, where it would stay resident: its pages go back.
    vx::ReturnFreedPages();
}

void TmwEditList::EndLoad()
{
    if (loadCount_ <= 0)
        return;
    --loadCount_;
    if (loadCount_ == 0 && Count() == 0)
        Add("");
}
