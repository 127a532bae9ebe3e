// Line marks of an editor: bookmarks (numbered 0..9) and plain marks shown as
// glyphs in the gutter, and the list that owns them.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

class TmwCustomEditModel;

class TMark {
public:
    explicit TMark(TmwCustomEditModel* owner);
    virtual ~TMark() = default;

    int Line() const { return line_; }
    int Column() const { return column_; }
    int ImageIndex() const { return imageIndex_; }
    bool Visible() const { return visible_; }
    bool InternalImage() const { return internalImage_; }
    int BookmarkNumber() const { return bookmarkNumber_; }
    bool IsBookmark() const { return bookmarkNumber_ >= 0; }

    // The owning editor while its mark list holds this mark, else none.
    virtual TmwCustomEditModel* Edit();
    virtual void SetColumn(int value) { column_ = value; }
    virtual void SetImageIndex(int value);
    virtual void SetLine(int value);
    void SetVisible(bool value);
    void SetInternalImage(bool value);
    void SetBookmarkNumber(int value) { bookmarkNumber_ = value; }

private:
    void RepaintLine(int line);

    int line_ = 0;
    int column_ = 0;
    int imageIndex_ = 0;
    TmwCustomEditModel* edit_;
    bool visible_ = false;
    bool internalImage_ = false;
    int bookmarkNumber_ = -1;
};

// Owns its marks: removing a mark or destroying the list destroys them.
class TMarkList {
public:
    static constexpr int MaxMarksPerLine = 16;
    using TMarks = std::array<TMark*, MaxMarksPerLine>;

    std::function<void(TMarkList* sender)> OnChange;

    TMark* Add(std::unique_ptr<TMark> mark);
    void Remove(TMark* mark);
    void Clear();
    bool Contains(const TMark* mark) const;
    int Count() const { return static_cast<int>(marks_.size()); }
    TMark* Items(int index) const { return marks_.at(static_cast<size_t>(index)).get(); }
    // The first 16 marks on line, in list order; the rest of the array is none.
    TMarks GetMarksForLine(int line) const;

private:
    void Changed();

    std::vector<std::unique_ptr<TMark>> marks_;
};
