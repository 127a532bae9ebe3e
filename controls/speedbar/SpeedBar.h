// The speed bar: a panel of speed buttons grouped in named sections. The user
// shows, hides and places the buttons by dragging them, drags the bar to
// another edge of its parent and resizes it by whole rows of buttons.
#pragma once

#include "controls/common/Events.h"
#include "controls/listviews/ImgList.h"
#include "controls/stores/Placemnt.h"
#include "controls/buttons/RXCtrls.h"
#include "platform/Exception.h"

#include <QEvent>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCustomIniFile;
class TSpeedBar;
class TSpeedItem;
class TSpeedbarSection;

VX_DECLARE_EXCEPTION(ESpeedbarError, Exception);

enum class TBarPosition { bpAuto, bpCustom };
enum TAlign { alNone = 0, alTop = 1, alBottom = 2, alLeft = 3, alRight = 4, alClient = 5 };
enum TPanelBevel { bvNone, bvLowered, bvRaised };

enum TSpeedbarOption : unsigned {
    sbAllowDrag = 1,
    sbAllowResize = 2,
    sbFlatBtns = 4,
    sbGrayedBtns = 8,
    sbTransparentBtns = 16,
    sbStretchBitmap = 32,
};
using TSpeedbarOptions = unsigned;

enum TBoundLine : unsigned { blTop = 1, blBottom = 2, blLeft = 4, blRight = 8 };
using TBoundLines = unsigned;

// What a bar tells its customisation window.
enum TSpeedbarNotify { sbnChanged = 0, sbnDestroyed = 1, sbnButtonDropped = 2, sbnButtonSizeChanged = 3 };

// The notification a bar sends to its customisation window while customised;
// Subject is the bar, or the item for sbnButtonDropped.
class TSpeedbarNotifyEvent : public QEvent {
public:
    TSpeedbarNotifyEvent(TSpeedbarNotify code, TSpeedBar* bar, QObject* subject);
    static QEvent::Type Type();
    TSpeedbarNotify Code() const { return code_; }
    TSpeedBar* Bar() const { return bar_; }
    QObject* Subject() const { return subject_; }

private:
    TSpeedbarNotify code_;
    TSpeedBar* bar_;
    QObject* subject_;
};

using TApplyAlignEvent = std::function<void(QObject* Sender, TAlign Align, bool& Apply)>;
using TSpeedItemEvent = std::function<void(QObject* Sender, TSpeedItem* Item)>;
using TSbMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;

namespace vx {

// The snapping step for buttons size long along the bar's main direction.
int SpeedbarGridStep(int size);
// A coordinate snapped to the grid: along the main direction rounded to the
// nearest step (halves to even), across it truncated.
int SpeedbarSnap(int value, int offset, int step, bool mainDirection);
// The edge of a client area of the given size nearest to point, by its diagonals.
TAlign SpeedbarSideUnderPoint(QPoint point, QSize client);
// Caption and hint kept in step: the hint an item gets when its caption
// becomes newCaption.
std::string SpeedItemHintFor(const std::string& newCaption, const std::string& oldHint);

} // namespace vx

// The floating image of a button while it is dragged.
class TBtnControl : public QWidget {
public:
    TBtnControl();
    void InitButton(TSpeedItem* item);
    // Shows the image with its top-left at a screen point, on top and without activation.
    void ShowAt(QPoint screenPoint);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QImage image_;
};

// The visual button of an item.
class TSpeedbarButton : public TRxSpeedButton {
public:
    explicit TSpeedbarButton(TSpeedItem* item);
    ~TSpeedbarButton() override;
    TSpeedItem* Item() const { return item_; }
    // The face as the button paints it, whether shown or not.
    QImage FaceImage();
    // Moves the button; it stays inside the bar's offsets across the bar's main direction.
    void MoveTo(int left, int top);
    // Shows the bar's image of the item's ImageIndex in place of the item's own glyph while there is one.
    void SyncImageGlyph();
    // Setting ShowHint stops taking the bar's.
    bool ShowHint() const;
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value) { parentShowHint_ = value; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    friend class TSpeedItem;
    bool Editing() const;
    // Dragging the button while the bar is customised: the floating image
    // follows the mouse; the release drops the button or takes it off the bar.
    void DragTo(QPoint screenPoint);
    void DragEnd(QPoint screenPoint);
    // Ends a drag without a drop: the bar lets the mouse go, the image goes.
    void StopDrag();
    TSpeedItem* item_;
    bool facePaint_ = false;
    bool usingImage_ = false;
    bool showHint_ = true;
    bool parentShowHint_ = true;
    QImage ownGlyph_;
    int ownNumGlyphs_ = 1;
    std::unique_ptr<TBtnControl> floating_;
    QPointer<TSpeedBar> dragBar_;
};

class TSpeedItem : public QObject {
public:
    explicit TSpeedItem(QObject* owner = nullptr);
    ~TSpeedItem() override;

    TSpeedbarButton* Button() const { return button_; }
    TSpeedBar* SpeedBar() const { return bar_; }
    int SectionIndex() const { return sectionIndex_; }
    // On a bar this moves the item to that section (clamped), as AddItem does;
    // the bar's section lists and the index never disagree.
    void SetSectionIndex(int value);
    bool Editing() const { return editing_; }
    void SetEditing(bool value);

    // The item's own values.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    bool Stored() const { return stored_; }
    void SetStored(bool value) { stored_ = value; }
    int Tag() const { return tag_; }
    void SetTag(int value);
    // Renaming keeps a caption that equalled the old name equal to the name.
    void SetName(const std::string& value);
    std::string Name() const;

    // The button's values.
    QAction* Action() const { return button_->Action(); }
    void SetAction(QAction* value) { button_->SetAction(value); }
    bool AllowAllUp() const { return button_->AllowAllUp(); }
    void SetAllowAllUp(bool value) { button_->SetAllowAllUp(value); }
    bool AllowTimer() const { return button_->AllowTimer(); }
    void SetAllowTimer(bool value) { button_->SetAllowTimer(value); }
    const std::string& BtnCaption() const { return button_->Caption(); }
    void SetBtnCaption(const std::string& value) { button_->SetCaption(value); }
    int GroupIndex() const { return button_->GroupIndex(); }
    void SetGroupIndex(int value) { button_->SetGroupIndex(value); }
    bool Down() const { return button_->Down(); }
    void SetDown(bool value) { button_->SetDown(value); }
    QMenu* DropDownMenu() const { return button_->DropDownMenu(); }
    void SetDropDownMenu(QMenu* value) { button_->SetDropDownMenu(value); }
    QFont Font() const;
    void SetFont(const QFont& value);
    bool ParentFont() const;
    void SetParentFont(bool value);
    bool ShowHint() const { return button_->ShowHint(); }
    void SetShowHint(bool value) { button_->SetShowHint(value); }
    bool ParentShowHint() const { return button_->ParentShowHint(); }
    void SetParentShowHint(bool value) { button_->SetParentShowHint(value); }
    QCursor Cursor() const;
    void SetCursor(const QCursor& value);
    QImage Glyph() const { return button_->ownGlyph_; }
    void SetGlyph(const QImage& value);
    int NumGlyphs() const { return button_->ownNumGlyphs_; }
    void SetNumGlyphs(int value);
    std::string Hint() const;
    void SetHint(const std::string& value);
    TRxButtonLayout Layout() const { return button_->Layout(); }
    void SetLayout(TRxButtonLayout value) { button_->SetLayout(value); }
    int Margin() const { return button_->Margin(); }
    void SetMargin(int value) { button_->SetMargin(value); }
    bool MarkDropDown() const { return button_->MarkDropDown(); }
    void SetMarkDropDown(bool value) { button_->SetMarkDropDown(value); }
    int Spacing() const { return button_->Spacing(); }
    void SetSpacing(int value) { button_->SetSpacing(value); }
    bool WordWrap() const { return button_->WordWrap(); }
    void SetWordWrap(bool value) { button_->SetWordWrap(value); }
    int Left() const;
    void SetLeft(int value);
    int Top() const;
    void SetTop(int value);
    void SetOnClick(vx::TNotifyEvent handler) { button_->OnClick = std::move(handler); }
    void SetOnDblClick(vx::TNotifyEvent handler) { button_->OnDblClick = std::move(handler); }

    // Performs a click on the button.
    virtual void ButtonClick();

    TSbMouseEvent OnMouseDown;
    TSbMouseEvent OnMouseMove;
    TSbMouseEvent OnMouseUp;
    vx::TNotifyEvent OnMouseEnter;
    vx::TNotifyEvent OnMouseLeave;

private:
    friend class TSpeedBar;
    // Shows, enables and styles the button after the item's and the bar's state.
    void UpdateButton();
    QPointer<TSpeedbarButton> button_;
    TSpeedBar* bar_ = nullptr;
    int sectionIndex_ = -1;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = false;
    int imageIndex_ = -1;
    bool stored_ = true;
    int tag_ = 0;
    bool editing_ = false;
};

class TSpeedbarSection : public QObject {
public:
    explicit TSpeedbarSection(QObject* owner = nullptr);
    ~TSpeedbarSection() override;

    const std::string& Caption() const { return caption_; }
    // Raises ESpeedbarError when another section of the bar has the caption.
    void SetCaption(const std::string& value);
    // The place in the bar's list, -1 without a bar; setting it moves the section.
    int Index() const;
    void SetIndex(int value);
    TSpeedBar* SpeedBar() const { return bar_; }
    // Leaves the old bar and joins the new one at the same index.
    void SetSpeedBar(TSpeedBar* bar);
    const std::vector<TSpeedItem*>& List() const { return items_; }

private:
    friend class TSpeedBar;
    std::string caption_;
    std::vector<TSpeedItem*> items_;
    TSpeedBar* bar_ = nullptr;
};

class TSpeedBar : public QWidget {
public:
    explicit TSpeedBar(QWidget* parent = nullptr);
    ~TSpeedBar() override;

    TBarPosition Position() const { return position_; }
    void SetPosition(TBarPosition value) { position_ = value; }
    TAlign Align() const { return align_; }
    // Raises ESpeedbarError for alNone and alClient while Position is bpAuto.
    void SetAlign(TAlign value);
    TSpeedbarOptions Options() const { return options_; }
    void SetOptions(TSpeedbarOptions value);
    TBoundLines BoundLines() const { return boundLines_; }
    void SetBoundLines(TBoundLines value);
    int BtnOffsetHorz() const { return offset_[0]; }
    void SetBtnOffsetHorz(int value) { SetOffset(0, value); }
    int BtnOffsetVert() const { return offset_[1]; }
    void SetBtnOffsetVert(int value) { SetOffset(1, value); }
    int BtnWidth() const { return btnSize_[0]; }
    void SetBtnWidth(int value) { SetBtnSize(0, value); }
    int BtnHeight() const { return btnSize_[1]; }
    void SetBtnHeight(int value) { SetBtnSize(1, value); }
    // Whether the buttons that follow the bar show their tool tips.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value) { showHint_ = value; }
    TFormPlacement* IniStorage() const { return iniLink_.Storage(); }
    void SetIniStorage(TFormPlacement* value) { iniLink_.SetStorage(value); }
    int Version() const { return version_; }
    // The layout format version read with the layout (0 for layouts older than
    // the format), and the kept new-style flag nothing uses.
    int InternalVer() const { return internalVer_; }
    bool NewStyle() const { return newStyle_; }
    void SetVersion(int value) { version_ = value; }
    const QImage& Wallpaper() const { return wallpaper_; }
    void SetWallpaper(const QImage& value);
    // The image list of items with an ImageIndex; its changes repaint those
    // items, and a list that is destroyed leaves the bar.
    vx::TImageList* Images() const { return images_; }
    // The bar's height when horizontal, its width when vertical: its rows of buttons.
    int Thickness() const;
    void SetThickness(int value);
    void SetImages(vx::TImageList* value);

    // The panel's frame.
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);

    bool Vertical() const { return vertical_; }
    int GridX() const { return grid_[0]; }
    int GridY() const { return grid_[1]; }
    int MinOffset() const;
    QWidget* EditWin() const { return editWin_; }
    // Enters (a window) or leaves (null) customisation mode.
    void SetEditWin(QWidget* window);

    virtual int AddSection(TSpeedbarSection* section);
    int AppendSection(const std::string& caption);
    int SectionCount() const { return int(sections_.size()); }
    TSpeedbarSection* Sections(int index) const;
    int ItemsCount(int sectionIndex) const;
    TSpeedItem* Items(int sectionIndex, int itemIndex) const;
    int SearchSection(const std::string& caption) const;
    TSpeedItem* FindItemByName(const std::string& name) const;
    void AddItem(int sectionIndex, TSpeedItem* item);
    void RemoveItem(TSpeedItem* item);
    void RemoveSection(int index);
    void DeleteSection(int index);
    void ClearSections();
    virtual void ForEachItem(const std::function<void(TSpeedItem*, void*)>& proc, void* param);
    bool AcceptDropItem(TSpeedItem* item, int x, int y);
    void AlignItemsToGrid();
    // Scales button size and offsets by m / d.
    void ScaleBy(int m, int d);
    // Shows the bar's customisation window, making one when the bar has none.
    void Customize(int helpContext);
    virtual void SetFontDefault();

    void SaveLayout(TCustomIniFile* ini, const std::string& section);
    void RestoreLayout(TCustomIniFile* ini, const std::string& section);
    // The sections, options and item sections kept with the layout.
    void SaveStoredValues(TCustomIniFile* ini, const std::string& section);
    void RestoreStoredValues(TCustomIniFile* ini, const std::string& section);
    TIniLink& IniLink() { return iniLink_; }

    // The drag frame for moving the bar to a side, in screen coordinates;
    // false when OnApplyAlign refuses the side.
    bool FrameForSide(TAlign side, QRect& frame);

    TApplyAlignEvent OnApplyAlign;
    vx::TNotifyEvent OnCustomize;
    vx::TNotifyEvent OnPosChanged;
    vx::TNotifyEvent OnVisibleChanged;
    vx::TNotifyEvent OnDblClick;
    TSpeedItemEvent OnAddItem;

    // Sends a notification to the customisation window while there is one.
    void Notify(TSpeedbarNotify code, QObject* subject = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    friend class TSpeedItem;
    friend class TSpeedbarSection;
    void SetOffset(int index, int value);
    void SetBtnSize(int index, int value);
    template <class T> void SetFrame(T& field, T value);
    void SetOrientation(bool vertical);
    void UpdateGrid();
    void ApplyButtonSize();
    void MoveItems(int dx, int dy);
    void PlaceItem(TSpeedItem* item);
    // Items follow their section's place after sections move, come or go.
    void ReindexSections();
    void ImagesChanged();
    void ForEachLiveItem(const std::function<void(TSpeedItem*)>& proc) const;
    void RealignOffsets();
    void FitToParent();
    QRect InnerRect() const;
    int ResizeZone(QPoint p) const;
    void ResizeTo(QPoint p);
    void DragTo(QPoint globalPos);
    void EndDrag(QPoint globalPos);

    std::vector<TSpeedbarSection*> sections_;
    TBarPosition position_ = TBarPosition::bpAuto;
    TAlign align_ = alTop;
    TSpeedbarOptions options_ = sbAllowDrag | sbGrayedBtns;
    TBoundLines boundLines_ = 0;
    int offset_[2] = {3, 3};
    int btnSize_[2] = {24, 23};
    int grid_[2] = {8, 23};
    int version_ = 0;
    int internalVer_ = 0;
    bool newStyle_ = false;
    bool showHint_ = true;
    QImage wallpaper_;
    QPointer<vx::TImageList> images_;
    TPanelBevel bevelOuter_ = bvRaised;
    TPanelBevel bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    bool vertical_ = false;
    bool locked_ = false;
    QPointer<QWidget> editWin_;
    TIniLink iniLink_;
    // Dragging the bar and resizing it.
    bool pressed_ = false;
    bool dragging_ = false;
    bool resizing_ = false;
    QPoint dragStart_;
    QRect dragFrame_;
    TAlign dragAlign_ = alTop;
};
