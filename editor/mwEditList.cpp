// The editor's line store.
#include "editor/mwEditList.h"

#include "platform/FreedMemory.h"

#include <algorithm>
#include <sstream>

namespace {

// The rest of the stream in one piece: by size where the stream can tell it,
// which is several times faster than reading character by character.
std::string ReadRest(std::istream& in)
{
    std::string data;
    const std::istream::pos_type start = in.tellg();
    if (start != std::istream::pos_type(-1) && in.seekg(0, std::ios::end)) {
        const std::istream::pos_type end = in.tellg();
        in.seekg(start);
        if (end != std::istream::pos_type(-1) && end >= start) {
            data.resize(static_cast<size_t>(end - start));
            in.read(data.data(), static_cast<std::streamsize>(data.size()));
            data.resize(static_cast<size_t>(in.gcount()));
            return data;
        }
    }
    in.clear();
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace

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
        const std::string text = ReadRest(in);
        Updating([&] {
            if (!OnScanRanges) {
                SetTextStr(text);
                return;
            }
            // One scan over all lines afterwards instead of one step per line.
            TListEvent added = std::move(OnAdded);
            OnAdded = nullptr;
            try {
                SetTextStr(text);
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
    // The text was read into a buffer as big as itself, now free but below
    // the lines in the heap, where it would stay resident: its pages go back.
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
