// The rows and columns of a list view: TListItem (a caption with sub-items, an
// image, a check mark and a data pointer) and TListColumn.
#pragma once

#include "controls/common/Alignment.h"

#include <string>
#include <vector>

namespace vx {

class TEnhListModel;

struct TListColumn {
    std::string Caption;
    TAlignment Alignment = taLeftJustify;
};

// An item belongs to the list that created it; changing it updates the list.
class TListItem {
public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    const std::vector<std::string>& SubItems() const { return subItems_; }
    void SetSubItems(std::vector<std::string> value);
    // Grows the sub-items with empty texts up to index.
    void SetSubItem(int index, const std::string& value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    // The picture of the state image list drawn before the item's image; -1 none.
    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    // States the owner marks for itself; GetNextItem finds them.
    bool Cut() const { return cut_; }
    void SetCut(bool value) { cut_ = value; }
    bool DropTarget() const { return dropTarget_; }
    void SetDropTarget(bool value) { dropTarget_ = value; }
    void* Data = nullptr;
    // The row of the item now (rows move when the list is sorted).
    int Index() const;

private:
    friend class TEnhListModel;
    explicit TListItem(TEnhListModel& owner) : owner_(&owner) {}
    void changed(int column) const;

    TEnhListModel* owner_;
    std::string caption_;
    std::vector<std::string> subItems_;
    int imageIndex_ = -1;
    int stateIndex_ = -1;
    bool checked_ = false, cut_ = false, dropTarget_ = false;
};

} // namespace vx
