// The editor's line store.
#include "editor/mwEditList.h"

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

void TmwEditList::AddStrings(const TStringList& strings)
{
    Updating([&] {
        // Copy first: strings may be this list.
        TStringList source(strings);
        for (int i = 0; i < source.Count(); ++i)
            TStringList::Add(source[i]);
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

void TmwEditList::Put(int index, const std::string& s)
{
    Updating([&] {
        TStringList::Put(index, s);
        if (OnLinePut)
            OnLinePut(index);
    });
}

void TmwEditList::SetTextStr(std::string_view value)
{
    Updating([&] {
        // The load bracket keeps Clear from putting back an empty first line
        // that the new text would then follow.
        BeginLoad();
        try {
            TStringList::SetTextStr(value);
        } catch (...) {
            EndLoad();
            throw;
        }
        EndLoad();
        if (OnTextLoaded)
            OnTextLoaded(this);
    });
}

void TmwEditList::LoadFromStream(std::istream& in)
{
    BeginLoad();
    try {
        Updating([&] {
            if (!OnScanRanges) {
                TStringList::LoadFromStream(in);
                return;
            }
            // One scan over all lines afterwards instead of one step per line.
            TListEvent added = std::move(OnAdded);
            OnAdded = nullptr;
            try {
                TStringList::LoadFromStream(in);
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
}

void TmwEditList::EndLoad()
{
    if (loadCount_ <= 0)
        return;
    --loadCount_;
    if (loadCount_ == 0 && Count() == 0)
        Add("");
}
