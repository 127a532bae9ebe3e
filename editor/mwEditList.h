// The editor's line store: a text list that reports every change through
// callbacks, keeps each line's highlighter start state in the object slot,
// and never stays empty outside a bulk load.
#pragma once

#include "platform/TStringList.h"

#include <cstdint>
#include <functional>
#include <memory>

class TmwEditList : public TStringList {
public:
    using TListEvent = std::function<void(TmwEditList* sender)>;
    using TIndexEvent = std::function<void(int index)>;
    using TReplaceEvent = std::function<void(int index, size_t pos, size_t removed, size_t inserted)>;

    TListEvent OnAdded;      // Add
    TListEvent OnCleared;    // Clear, before the lines go
    TIndexEvent OnDeleted;   // Delete, after the line is removed or emptied
    TIndexEvent OnInserted;  // Insert, after the line is in
    TListEvent OnTextLoaded; // SetTextStr, after the text is stored
    TIndexEvent OnLinePut;   // Put and ReplaceText, after the text is replaced
    // ReplaceText, after the text is replaced and before OnLinePut: what changed.
    TReplaceEvent OnTextReplaced;
    TListEvent OnScanRanges; // AddStrings and LoadFromStream, after all lines are in

    int Add(const std::string& s) override;
    void AddStrings(const TStringList& strings) override;
    void Assign(const TStringList& source) override;
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, const std::string& s) override;
    void Put(int index, std::string s) override;
    void ReplaceText(int index, size_t pos, size_t count, std::string_view text) override;
    void SetTextStr(std::string_view value) override;
    void LoadFromStream(std::istream& in) override;

    // Bulk-load bracket: while raised, clearing does not put the empty line
    // back; lowering it to 0 does when the list is empty.
    void BeginLoad() { ++loadCount_; }
    void EndLoad();
    int LoadCount() const { return loadCount_; }

    // The highlighter state at the start of line index (0 when never stored).
    int32_t Range(int index) const { return static_cast<int32_t>(Objects(index)); }
    void SetRange(int index, int32_t range) { PutObject(index, range); }

protected:
    int AddChunks(std::unique_ptr<TLineChunks> line) override;
    // Stored as it is while nobody listens for each line added.
    void AddRead(std::string_view line) override;

private:
    // Runs body inside an update bracket, closing it on the way out.
    template <class Body> void Updating(Body body);
    // Stores a new text by store inside the load bracket, and reports it loaded.
    template <class Store> void Loading(Store store);

    int loadCount_ = 0;
};
