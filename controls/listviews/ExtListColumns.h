// The header-image settings of an extended list view's columns: one
// TExtListColumn (image index and side of the text) per column, held in the
// TExtListColumns collection, which reports every change to its owner.
#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace vx {

enum TColumnImageAlign { ciaLeftOfText, ciaRightOfText };

class TExtListColumns;

// How one column's header shows its image.
class TExtListColumn {
public:
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    TColumnImageAlign ImageAlignment() const { return imageAlignment_; }
    void SetImageAlignment(TColumnImageAlign value);
    void Assign(const TExtListColumn& source);

private:
    friend class TExtListColumns;
    explicit TExtListColumn(TExtListColumns& owner) : owner_(&owner) {}
    TExtListColumns* owner_;
    int imageIndex_ = -1;
    TColumnImageAlign imageAlignment_ = ciaRightOfText;
};

// The header-image settings of the columns, one item per column.
class TExtListColumns {
public:
    explicit TExtListColumns(std::function<void()> onChange) : onChange_(std::move(onChange)) {}
    TExtListColumn& Add();
    int Count() const { return static_cast<int>(items_.size()); }
    // Null for a bad index.
    TExtListColumn* Items(int index) const;
    void Clear();
    void Assign(const TExtListColumns& source);
    void Changed() const;

private:
    std::vector<std::unique_ptr<TExtListColumn>> items_;
    std::function<void()> onChange_;
};

} // namespace vx
