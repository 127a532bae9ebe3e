// The schemes of the multi-language highlighter: for each embedded language,
// the expressions that open and close its blocks and the highlighter that
// colours them.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TmwCustomHighLighter;
class TgmSchemes;
class TwmMultiSyn;

class TgmScheme {
public:
    explicit TgmScheme(TgmSchemes* collection) : collection_(collection) {}
    TgmScheme(const TgmScheme&) = delete;
    TgmScheme& operator=(const TgmScheme&) = delete;

    // The scheme number: the position in its collection.
    int Index() const;

    const std::string& StartExpr() const { return startExpr_; }
    void SetStartExpr(const std::string& value);
    const std::string& EndExpr() const { return endExpr_; }
    void SetEndExpr(const std::string& value);
    // Not owned. A scheme without one opens no block.
    TmwCustomHighLighter* Highlighter() const { return highlighter_; }
    void SetHighlighter(TmwCustomHighLighter* value);
    // Whether the end marker counts only where the highlighter is at its
    // base range: not inside a string or block comment that could run on
    // past it (a line comment leaves the range alone, so it still ends there).
    bool EndOutsideStrings() const { return endOutsideStrings_; }
    void SetEndOutsideStrings(bool value);

    void Assign(const TgmScheme& source);

private:
    void Changed();

    TgmSchemes* collection_;
    std::string startExpr_;
    std::string endExpr_;
    TmwCustomHighLighter* highlighter_ = nullptr;
    bool endOutsideStrings_ = false;
};

// The ordered schemes of one multi-language highlighter.
class TgmSchemes {
public:
    explicit TgmSchemes(TwmMultiSyn* owner = nullptr) : owner_(owner) {}
    TgmSchemes(const TgmSchemes&) = delete;
    TgmSchemes& operator=(const TgmSchemes&) = delete;

    TwmMultiSyn* Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError outside 0..Count-1.
    TgmScheme& Items(int index);
    const TgmScheme& Items(int index) const;
    TgmScheme& Add();
    void Delete(int index);
    void Clear();
    // Replaces the items by copies of source's items.
    void Assign(const TgmSchemes& source);
    int IndexOf(const TgmScheme* scheme) const;
    // Whether the scheme at index can colour a block: it has a highlighter,
    // and that is not the highlighter owning these schemes.
    bool Usable(int index) const;

    // Changes whenever a scheme is added, removed or edited, so a user of
    // the collection can tell when what it derived from it is out of date.
    unsigned Version() const { return version_; }

private:
    friend class TgmScheme;
    void Changed() { ++version_; }
    void check(int index) const;

    TwmMultiSyn* owner_;
    std::vector<std::unique_ptr<TgmScheme>> items_;
    unsigned version_ = 0;
};
