// The text list: an ordered list of 8-bit strings, each with an opaque object
// slot, as the class library's string list has it. Mutating operations are
// virtual and call each other the way the class library's do (Assign calls
// Clear and AddStrings, SetTextStr calls Clear and Add, LoadFromStream calls
// SetTextStr), so subclasses such as the editor's line store can hook them.
//
// Changes are announced through OnChanging before and OnChange after; inside a
// BeginUpdate/EndUpdate bracket they are announced once, around the bracket.
//
// The lines are kept compactly (TLineStore): Get hands out a line as a string
// that stays valid until a line is inserted or removed before it; Piece,
// Length and Substr read a line without making that string, which for a long
// line would be a copy of it. Reading changes the store's caches: a list is
// used by one thread at a time.
#pragma once

#include "platform/TLineStore.h"

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList {
public:
    using TNotifyEvent = std::function<void(TStringList* sender)>;

    TStringList() = default;
    TStringList(const TStringList& other);
    TStringList& operator=(const TStringList& other);
    virtual ~TStringList() = default;

    // --- reading
    int Count() const { return store_.Count(); }
    bool Empty() const { return store_.Count() == 0; }
    // Raises EListError "List index out of bounds (<i>)" outside 0..Count-1.
    const std::string& Get(int index) const;
    const std::string& operator[](int index) const { return Get(index); }
    TObjectSlot Objects(int index) const;
    // The line in one piece without the string Get keeps: for readers that
    // go over many lines. Valid until the list changes.
    std::string_view View(int index) const;
    // The line's length, and its text as pieces one after the other (a long
    // line's chunks), read where they are stored. The pieces stay valid until
    // the list changes.
    size_t Length(int index) const
    {
        // Asked for every line where lengths are compared: checked inline.
        if (index < 0 || index >= Count())
            CheckIndex(index);
        return store_.Length(index);
    }
    size_t PieceCount(int index) const;
    std::string_view Piece(int index, size_t i) const;
    // The shape of piece i of the line (see TLineStore).
    TTextShape PieceShape(int index, size_t i) const;
    // Characters pos.. of the line, at most count of them.
    std::string Substr(int index, size_t pos, size_t count) const;
    // Position of the first string equal to s (by CaseSensitive), or -1.
    virtual int IndexOf(std::string_view s) const;
    int IndexOfObject(TObjectSlot object) const;

    // --- changing
    virtual int Add(const std::string& s);
    int AddObject(const std::string& s, TObjectSlot object);
    virtual void AddStrings(const TStringList& strings);
    virtual void Assign(const TStringList& source);
    virtual void Clear();
    virtual void Delete(int index);
    virtual void Insert(int index, const std::string& s);
    void InsertObject(int index, const std::string& s, TObjectSlot object);
    // Takes s over: a caller handing a temporary has the line stored without a copy.
    virtual void Put(int index, std::string s);
    // Replaces count characters of line index from pos (both cut to the
    // line's length) by text, in place, and announces it as Put does. text
    // must not point into this list.
    virtual void ReplaceText(int index, size_t pos, size_t count, std::string_view text);
    virtual void PutObject(int index, TObjectSlot object);
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);

    // --- whole text: lines joined by LineBreak, each line ending in one.
    std::string Text() const { return GetTextStr(); }
    void SetText(std::string_view text) { SetTextStr(text); }
    virtual std::string GetTextStr() const;
    // The lines with separator between them and none after the last, as a
    // text widget holds them.
    std::string JoinedText(std::string_view separator) const;
    // Splits at CR LF, CR or LF; a final line break adds no empty line.
    virtual void SetTextStr(std::string_view text);
    // What Text and SaveToFile put after each line; CR LF unless changed.
    const std::string& LineBreak() const { return lineBreak_; }
    void SetLineBreak(std::string lineBreak) { lineBreak_ = std::move(lineBreak); }

    // Comma-separated form: items containing blanks, commas or quotes are
    // double-quoted with inner quotes doubled.
    std::string CommaText() const;
    void SetCommaText(std::string_view text);

    // --- "name=value" items
    std::string Names(int index) const;
    std::string Values(std::string_view name) const;
    void SetValue(std::string_view name, const std::string& value);
    int IndexOfName(std::string_view name) const;

    // --- files and streams
    // The text of a list file: UTF-8, or, when the bytes are not well-formed
    // UTF-8, Windows-1252 as earlier versions wrote it (vx::TextFromFileBytes).
    // A list that keeps the bytes as they are stored (a document's lines)
    // overrides this.
    virtual void LoadFromStream(std::istream& in);
    // How much of a stream is read at a time: the read buffer adds as much
    // to what opening a text takes at its peak.
    static constexpr size_t kReadBlock = size_t{256} * 1024;
    void SaveToStream(std::ostream& out) const;
    // Through LoadFromStream. Raises EFOpenError "Cannot open file <path>"
    // when the file cannot be read.
    void LoadFromFile(const std::string& path);
    // Written atomically; raises EFCreateError or EWriteError and keeps the old file on failure.
    void SaveToFile(const std::string& path) const;

    // --- sorting
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates d) { duplicates_ = d; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value);
    virtual void Sort();
    // Binary search in a sorted list: true when found; index is where s is or would go.
    bool Find(std::string_view s, int& index) const;

    // --- update bracket and events
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    int CompareStrings(std::string_view a, std::string_view b) const;
    void CheckIndex(int index) const;
    // Inserts without the sorted check; fires Changing/Changed.
    void InsertItem(int index, const std::string& s, TObjectSlot object);
    // Adds a line read from a text (SetTextStr, SetTextFromStream) through
    // Add; a list that can store it as it is says so here.
    virtual void AddRead(std::string_view line);
    // Stores line at the end without the sorted check; fires Changing/Changed.
    void AppendItem(std::string_view line);
    // Adds a line read in chunks, a line longer than a block of a stream,
    // through Add; a list that stores it as it is says so here.
    virtual int AddChunks(std::unique_ptr<TLineChunks> line);
    // Inserts the chunks as the line's text without the sorted check;
    // fires Changing/Changed.
    int InsertChunks(int index, std::unique_ptr<TLineChunks> line);
    // What SetTextStr does with the rest of the stream, read a block at a
    // time: the text is never held whole besides its lines.
    void SetTextFromStream(std::istream& in);

private:
    // Adds the lines of text, each through AddRead. Unless final, a last line
    // without its break (or a CR that an LF may follow) is left: the count of
    // the characters used is returned.
    size_t AddLines(std::string_view text, bool final);

    TLineStore store_;
    std::string readLine_;
    std::string lineBreak_ = "\r\n";
    int updateCount_ = 0;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

// The class library names its abstract base TStrings; one class serves both here.
using TStrings = TStringList;

// Compares two strings of UTF-8 text ignoring letter case (vx::CompareIgnoringCase).
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
