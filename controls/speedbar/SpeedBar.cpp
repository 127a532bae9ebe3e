// The speed bar: sections and items, grid, orientation, painting, dragging and resizing.
#include "controls/speedbar/SpeedBar.h"

#include "controls/common/SysColors.h"
#include "controls/stores/AppUtils.h"
#include "controls/common/RXConst.h"
#include "controls/common/VCLUtils.h"
#include "platform/TStringList.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace vx {

int SpeedbarGridStep(int size)
{
    int step = std::max(1, std::min(8, size / 3));
    while (size % step != 0)
        ++step;
    if (step == size && size > 1)
        do
            --step;
        while (step >= 2 && size % step != 0);
    return step;
}

int SpeedbarSnap(int value, int offset, int step, bool mainDirection)
{
    const double quotient = double(value - offset) / step;
    const double whole = mainDirection ? std::nearbyint(quotient) : std::trunc(quotient);
    return int(whole) * step + offset;
}

TAlign SpeedbarSideUnderPoint(QPoint point, QSize client)
{
    const double w = std::max(1, client.width()), h = client.height();
    const double x = point.x(), y = point.y();
    const double y1 = h / w * x, y2 = (1 - x / w) * h;
    if (y >= y1)
        return y >= y2 ? alBottom : alLeft;
    return y >= y2 ? alRight : alTop;
}

} // namespace vx

namespace {

bool EdgeAlign(TAlign align)
{
    return align == alTop || align == alBottom || align == alLeft || align == alRight;
}

// The edge a sibling is aligned to. A speed bar says so; any other widget
// counts as aligned to an edge it touches along the whole of that edge (a
// status bar, a tool panel), as the layouts of this program place them.
TAlign SiblingAlign(const QWidget& widget, const QRect& parent)
{
    if (const auto* bar = dynamic_cast<const TSpeedBar*>(&widget))
        return bar->Align();
    const QRect g = widget.geometry();
    if (g == parent)
        return alNone;
    if (g.left() <= parent.left() && g.right() >= parent.right()) {
        if (g.top() <= parent.top())
            return alTop;
        if (g.bottom() >= parent.bottom())
            return alBottom;
    }
    if (g.top() <= parent.top() && g.bottom() >= parent.bottom()) {
        if (g.left() <= parent.left())
            return alLeft;
        if (g.right() >= parent.right())
            return alRight;
    }
    return alNone;
}

} // namespace

TSpeedbarNotifyEvent::TSpeedbarNotifyEvent(TSpeedbarNotify code, TSpeedBar* bar, QObject* subject)
    : QEvent(Type()), code_(code), bar_(bar), subject_(subject)
{
}

QEvent::Type TSpeedbarNotifyEvent::Type()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

TSpeedBar::TSpeedBar(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    offset_[0] = offset_[1] = MinOffset();
    resize(parent ? parent->width() : 2 * offset_[0] + 24, 2 * offset_[1] + 23);
    SetThickness(2 * offset_[1] + 23);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    SetFontDefault();
    UpdateGrid();
    iniLink_.OnSave = [this] {
        if (!objectName().isEmpty() && iniLink_.IniObject())
            SaveLayout(iniLink_.IniObject(), iniLink_.RootSection() + vx::GetDefaultSection(this));
    };
    iniLink_.OnLoad = [this] {
        if (!objectName().isEmpty() && iniLink_.IniObject())
            RestoreLayout(iniLink_.IniObject(), iniLink_.RootSection() + vx::GetDefaultSection(this));
    };
    if (parent)
        parent->installEventFilter(this);
}

TSpeedBar::~TSpeedBar()
{
    OnApplyAlign = nullptr;
    OnCustomize = nullptr;
    OnPosChanged = nullptr;
    OnVisibleChanged = nullptr;
    OnDblClick = nullptr;
    OnAddItem = nullptr;
    Notify(sbnDestroyed);
    editWin_ = nullptr;
    ClearSections();
}

void TSpeedBar::SetFontDefault()
{
    setFont(QApplication::font("QMenu"));
}

int TSpeedBar::MinOffset() const
{
    int offset = (options_ & sbFlatBtns ? 0 : 2) + borderWidth_;
    if (bevelOuter_ != bvNone)
        offset += bevelWidth_;
    if (bevelInner_ != bvNone)
        offset += bevelWidth_;
    return offset;
}

void TSpeedBar::Notify(TSpeedbarNotify code, QObject* subject)
{
    if (!editWin_)
        return;
    TSpeedbarNotifyEvent event(code, this, subject ? subject : this);
    QApplication::sendEvent(editWin_, &event);
}

// --- properties

void TSpeedBar::SetAlign(TAlign value)
{
    if (value == align_)
        return;
    if (position_ == TBarPosition::bpAuto && (value == alNone || value == alClient))
        throw ESpeedbarError("Cannot set this property value while Position is bpAuto");
    align_ = value;
    if (position_ == TBarPosition::bpAuto) {
        if (value == alTop || value == alBottom)
            SetOrientation(false);
        else if (value == alLeft || value == alRight)
            SetOrientation(true);
    }
    FitToParent();
}

void TSpeedBar::SetOrientation(bool vertical)
{
    if (vertical == vertical_)
        return;
    locked_ = true;
    vertical_ = vertical;
    std::swap(btnSize_[0], btnSize_[1]);
    std::swap(grid_[0], grid_[1]);
    std::swap(offset_[0], offset_[1]);
    ForEachLiveItem([this](TSpeedItem* item) {
        TSpeedbarButton* button = item->Button();
        button->setGeometry(button->y(), button->x(), BtnWidth(), BtnHeight());
    });
    const int thickness = vertical ? height() : width();
    setSizePolicy(vertical ? QSizePolicy::Fixed : QSizePolicy::Expanding,
                  vertical ? QSizePolicy::Expanding : QSizePolicy::Fixed);
    resize(height(), width());
    SetThickness(thickness);
    locked_ = false;
    update();
    Notify(sbnButtonSizeChanged);
}

// Without a layout of its parent the bar keeps itself against its edge.
void TSpeedBar::FitToParent()
{
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    if (parent->layout()) {
        updateGeometry();
        return;
    }
    const QRect r = parent->rect();
    switch (align_) {
    case alTop:
        setGeometry(0, 0, r.width(), height());
        break;
    case alBottom:
        setGeometry(0, r.height() - height(), r.width(), height());
        break;
    case alLeft:
        setGeometry(0, 0, width(), r.height());
        break;
    case alRight:
        setGeometry(r.width() - width(), 0, width(), r.height());
        break;
    case alClient:
        setGeometry(r);
        break;
    case alNone:
        break;
    }
}

void TSpeedBar::SetOptions(TSpeedbarOptions value)
{
    if (value == options_)
        return;
    const bool flatChanged = (value ^ options_) & sbFlatBtns;
    options_ = value;
    ForEachLiveItem([this](TSpeedItem* item) {
        item->Button()->SetTransparent(options_ & sbTransparentBtns);
        item->Button()->SetGrayedInactive(options_ & sbGrayedBtns);
        item->UpdateButton();
    });
    UpdateGrid();
    if (flatChanged)
        RealignOffsets();
    update();
}

void TSpeedBar::SetBoundLines(TBoundLines value)
{
    if (value == boundLines_)
        return;
    boundLines_ = value;
    RealignOffsets();
    update();
}

template <class T>
void TSpeedBar::SetFrame(T& field, T value)
{
    if (value == field)
        return;
    field = value;
    RealignOffsets();
    update();
}

void TSpeedBar::SetBevelOuter(TPanelBevel value)
{
    SetFrame(bevelOuter_, value);
}

void TSpeedBar::SetBevelInner(TPanelBevel value)
{
    SetFrame(bevelInner_, value);
}

void TSpeedBar::SetBevelWidth(int value)
{
    SetFrame(bevelWidth_, value);
}

void TSpeedBar::SetBorderWidth(int value)
{
    SetFrame(borderWidth_, value);
}

void TSpeedBar::SetOffset(int index, int value)
{
    value = std::max(value, MinOffset());
    const int diff = value - offset_[index];
    offset_[index] = value;
    MoveItems(index == 0 ? diff : 0, index == 1 ? diff : 0);
}

void TSpeedBar::SetBtnSize(int index, int value)
{
    if (value < 1 || value == btnSize_[index])
        return;
    btnSize_[index] = value;
    UpdateGrid();
    const int least = vertical_ ? 2 * BtnOffsetHorz() + BtnWidth() : 2 * BtnOffsetVert() + BtnHeight();
    if (Thickness() < least)
        SetThickness(least);
    ApplyButtonSize();
    Notify(sbnButtonSizeChanged);
}

void TSpeedBar::SetWallpaper(const QImage& value)
{
    if (value == wallpaper_)
        return;
    wallpaper_ = value;
    update();
}

void TSpeedBar::SetImages(vx::TImageList* value)
{
    if (value == images_)
        return;
    if (images_)
        QObject::disconnect(images_, nullptr, this, nullptr);
    images_ = value;
    if (value) {
        QObject::connect(value, &vx::TImageList::Changed, this, [this] { ImagesChanged(); });
        QObject::connect(value, &QObject::destroyed, this, [this] {
            images_ = nullptr;
            ImagesChanged();
        });
    }
    ImagesChanged();
}

void TSpeedBar::ImagesChanged()
{
    ForEachLiveItem([](TSpeedItem* item) {
        if (item->ImageIndex() < 0)
            return;
        item->Button()->ButtonGlyph().Invalidate();
        item->Button()->SyncImageGlyph();
        item->Button()->update();
    });
}

void TSpeedBar::UpdateGrid()
{
    const int step = vx::SpeedbarGridStep(vertical_ ? BtnHeight() : BtnWidth());
    grid_[0] = vertical_ ? BtnWidth() : step;
    grid_[1] = vertical_ ? step : BtnHeight();
}

void TSpeedBar::ApplyButtonSize()
{
    ForEachLiveItem([this](TSpeedItem* item) { item->Button()->resize(BtnWidth(), BtnHeight()); });
}

void TSpeedBar::MoveItems(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    ForEachLiveItem([dx, dy](TSpeedItem* item) {
        QWidget* button = item->Button();
        button->move(button->x() + dx, button->y() + dy);
    });
}

// The offsets never stay below the minimum when the frame grows.
void TSpeedBar::RealignOffsets()
{
    const int minimum = MinOffset();
    const int dx = std::max(0, minimum - offset_[0]), dy = std::max(0, minimum - offset_[1]);
    offset_[0] += dx;
    offset_[1] += dy;
    MoveItems(dx, dy);
}

void TSpeedBar::AlignItemsToGrid()
{
    ForEachLiveItem([this](TSpeedItem* item) {
        if (!item->Visible())
            return;
        item->Button()->move(vx::SpeedbarSnap(item->Left(), BtnOffsetHorz(), GridX(), !vertical_),
                             vx::SpeedbarSnap(item->Top(), BtnOffsetVert(), GridY(), vertical_));
    });
}

void TSpeedBar::ScaleBy(int m, int d)
{
    if (d == 0)
        return;
    btnSize_[0] = std::max(1, btnSize_[0] * m / d);
    btnSize_[1] = std::max(1, btnSize_[1] * m / d);
    offset_[0] = std::max(MinOffset(), offset_[0] * m / d);
    offset_[1] = std::max(MinOffset(), offset_[1] * m / d);
    UpdateGrid();
    SetThickness(Thickness() * m / d);
    ForEachLiveItem([m, d](TSpeedItem* item) {
        QWidget* button = item->Button();
        button->move(button->x() * m / d, button->y() * m / d);
    });
    ApplyButtonSize();
    AlignItemsToGrid();
}

void TSpeedBar::SetEditWin(QWidget* window)
{
    editWin_ = window;
    ForEachLiveItem([window](TSpeedItem* item) { item->SetEditing(window != nullptr); });
    if (!window && OnCustomize)
        OnCustomize(this);
}

// --- sections and items

void TSpeedBar::ForEachLiveItem(const std::function<void(TSpeedItem*)>& proc) const
{
    for (TSpeedbarSection* section : sections_)
        for (TSpeedItem* item : section->items_)
            if (item && item->Button())
                proc(item);
}

void TSpeedBar::ForEachItem(const std::function<void(TSpeedItem*, void*)>& proc, void* param)
{
    if (!proc)
        return;
    for (TSpeedbarSection* section : std::vector<TSpeedbarSection*>(sections_))
        for (TSpeedItem* item : std::vector<TSpeedItem*>(section->items_))
            if (item)
                proc(item, param);
}

int TSpeedBar::AddSection(TSpeedbarSection* section)
{
    const std::string base = section->caption_;
    std::string caption = base;
    for (int n = 1; SearchSection(caption) >= 0; ++n)
        caption = base + " (" + std::to_string(n) + ")";
    section->caption_ = caption;
    const int index = int(sections_.size());
    sections_.push_back(section);
    section->bar_ = this;
    for (TSpeedItem* item : section->items_) {
        item->sectionIndex_ = index;
        PlaceItem(item);
    }
    return index;
}

int TSpeedBar::AppendSection(const std::string& caption)
{
    auto* section = new TSpeedbarSection(this);
    section->caption_ = caption;
    return AddSection(section);
}

TSpeedbarSection* TSpeedBar::Sections(int index) const
{
    return index >= 0 && index < SectionCount() ? sections_[std::size_t(index)] : nullptr;
}

int TSpeedBar::ItemsCount(int sectionIndex) const
{
    const TSpeedbarSection* section = Sections(sectionIndex);
    return section ? int(section->items_.size()) : 0;
}

TSpeedItem* TSpeedBar::Items(int sectionIndex, int itemIndex) const
{
    const TSpeedbarSection* section = Sections(sectionIndex);
    if (!section || itemIndex < 0 || itemIndex >= int(section->items_.size()))
        return nullptr;
    return section->items_[std::size_t(itemIndex)];
}

int TSpeedBar::SearchSection(const std::string& caption) const
{
    for (int i = 0; i < SectionCount(); ++i)
        if (sections_[std::size_t(i)]->caption_ == caption)
            return i;
    return -1;
}

TSpeedItem* TSpeedBar::FindItemByName(const std::string& name) const
{
    for (TSpeedbarSection* section : sections_)
        for (TSpeedItem* item : section->items_)
            if (item && SameText(item->Name(), name))
                return item;
    return nullptr;
}

void TSpeedBar::PlaceItem(TSpeedItem* item)
{
    item->bar_ = this;
    TSpeedbarButton* button = item->Button();
    button->hide();
    button->setParent(this);
    button->setGeometry(0, 0, BtnWidth(), BtnHeight());
    button->SetStyle(TRxButtonStyle::bsNew);
    button->SetTransparent(options_ & sbTransparentBtns);
    button->SetGrayedInactive(options_ & sbGrayedBtns);
    item->visible_ = false;
    item->editing_ = editWin_ != nullptr;
    item->UpdateButton();
}

void TSpeedBar::AddItem(int sectionIndex, TSpeedItem* item)
{
    if (!item)
        return;
    if (item->bar_ && item->bar_ != this)
        item->bar_->RemoveItem(item);
    if (item->bar_ == this) {
        auto& from = sections_[std::size_t(item->sectionIndex_)]->items_;
        from.erase(std::find(from.begin(), from.end(), item));
        const int to = std::clamp(sectionIndex, 0, SectionCount() - 1);
        sections_[std::size_t(to)]->items_.push_back(item);
        item->sectionIndex_ = to;
        return;
    }
    if (sectionIndex < 0)
        return;
    item->sectionIndex_ = sectionIndex;
    if (OnAddItem)
        OnAddItem(this, item);
    sectionIndex = std::max(0, item->sectionIndex_);
    if (sections_.empty())
        sectionIndex = AppendSection("");
    sectionIndex = std::min(sectionIndex, SectionCount() - 1);
    sections_[std::size_t(sectionIndex)]->items_.push_back(item);
    item->sectionIndex_ = sectionIndex;
    PlaceItem(item);
}

void TSpeedBar::RemoveItem(TSpeedItem* item)
{
    if (!item || item->bar_ != this)
        return;
    if (TSpeedbarButton* button = item->Button()) {
        button->hide();
        button->setParent(nullptr);
    }
    if (TSpeedbarSection* section = Sections(item->sectionIndex_)) {
        auto& list = section->items_;
        list.erase(std::remove(list.begin(), list.end(), item), list.end());
    }
    item->bar_ = nullptr;
    item->sectionIndex_ = -1;
}

void TSpeedBar::ReindexSections()
{
    for (std::size_t i = 0; i < sections_.size(); ++i)
        for (TSpeedItem* item : sections_[i]->items_)
            item->sectionIndex_ = int(i);
}

void TSpeedBar::RemoveSection(int index)
{
    TSpeedbarSection* section = Sections(index);
    if (!section)
        return;
    while (!section->items_.empty())
        RemoveItem(section->items_.back());
    sections_.erase(sections_.begin() + index);
    section->bar_ = nullptr;
    ReindexSections();
}

void TSpeedBar::DeleteSection(int index)
{
    if (!Sections(index))
        return;
    delete sections_[std::size_t(index)];
    ReindexSections();
}

void TSpeedBar::ClearSections()
{
    for (int i = SectionCount() - 1; i >= 0; --i)
        DeleteSection(i);
}

bool TSpeedBar::AcceptDropItem(TSpeedItem* item, int x, int y)
{
    if (!item || item->sectionIndex_ < 0 || item->bar_ != this)
        return false;
    x = vx::SpeedbarSnap(x, BtnOffsetHorz(), GridX(), !vertical_);
    y = vx::SpeedbarSnap(y, BtnOffsetVert(), GridY(), vertical_);
    item->Button()->MoveTo(x, y);
    const bool inside = rect().contains(x, y);
    item->SetVisible(inside);
    if (inside)
        item->Button()->raise();
    else
        item->Button()->lower();
    return inside;
}

// --- painting

QRect TSpeedBar::InnerRect() const
{
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone)
        inset += bevelWidth_;
    if (bevelInner_ != bvNone)
        inset += bevelWidth_;
    return rect().adjusted(inset, inset, -inset, -inset);
}

void TSpeedBar::paintEvent(QPaintEvent*)
{
    if (locked_)
        return;
    QPainter p(this);
    p.fillRect(rect(), vx::ToQColor(clBtnFace));
    QRect r = rect();
    auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone)
            return;
        const bool raised = kind == bvRaised;
        for (int i = 0; i < bevelWidth_; ++i)
            vx::Frame3D(p, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight);
    };
    bevel(bevelOuter_);
    r.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    bevel(bevelInner_);
    const QRect inner = InnerRect();
    if (!wallpaper_.isNull() && wallpaper_.width() > 0 && wallpaper_.height() > 0) {
        p.save();
        p.setClipRect(inner);
        if (options_ & sbStretchBitmap) {
            p.drawImage(inner, wallpaper_);
        } else {
            for (int row = 0; row <= inner.height() / wallpaper_.height(); ++row)
                for (int col = 0; col <= inner.width() / wallpaper_.width(); ++col)
                    p.drawImage(inner.left() + col * wallpaper_.width(), inner.top() + row * wallpaper_.height(),
                                wallpaper_);
        }
        p.restore();
    }
    const QColor shadow = vx::ToQColor(clBtnShadow), light = vx::ToQColor(clBtnHighlight);
    const int l = inner.left(), t = inner.top(), rt = inner.right(), b = inner.bottom();
    if (boundLines_ & blTop) {
        p.fillRect(QRect(QPoint(l, t), QPoint(rt, t)), shadow);
        p.fillRect(QRect(QPoint(l, t + 1), QPoint(rt, t + 1)), light);
    }
    if (boundLines_ & blLeft) {
        p.fillRect(QRect(QPoint(l, t), QPoint(l, b)), shadow);
        p.fillRect(QRect(QPoint(l + 1, boundLines_ & blTop ? t + 1 : t), QPoint(l + 1, b)), light);
    }
    if (boundLines_ & blBottom) {
        p.fillRect(QRect(QPoint(l, b - 1), QPoint(rt, b - 1)), shadow);
        p.fillRect(QRect(QPoint(l, b), QPoint(rt, b)), light);
    }
    if (boundLines_ & blRight) {
        p.fillRect(QRect(QPoint(rt - 1, t), QPoint(rt - 1, boundLines_ & blBottom ? b - 1 : b)), shadow);
        p.fillRect(QRect(QPoint(rt, t), QPoint(rt, b)), light);
    }
}

// --- visibility, parent and size

void TSpeedBar::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange)
        ForEachLiveItem([](TSpeedItem* item) { item->UpdateButton(); });
}

bool TSpeedBar::event(QEvent* e)
{
    const bool result = QWidget::event(e);
    switch (e->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        ForEachLiveItem([](TSpeedItem* item) { item->UpdateButton(); });
        if (OnVisibleChanged)
            OnVisibleChanged(this);
        break;
    case QEvent::ParentAboutToChange:
        if (parentWidget())
            parentWidget()->removeEventFilter(this);
        break;
    case QEvent::ParentChange:
        if (parentWidget()) {
            parentWidget()->installEventFilter(this);
            FitToParent();
        }
        break;
    default:
        break;
    }
    return result;
}

bool TSpeedBar::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == parentWidget() && e->type() == QEvent::Resize)
        FitToParent();
    return QWidget::eventFilter(watched, e);
}

int TSpeedBar::Thickness() const
{
    return vertical_ ? width() : height();
}

// Under a parent's layout the thickness is a fixed size the layout keeps.
void TSpeedBar::SetThickness(int value)
{
    if (parentWidget() && parentWidget()->layout()) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        if (vertical_)
            setFixedWidth(value);
        else
            setFixedHeight(value);
    } else {
        resize(vertical_ ? value : width(), vertical_ ? height() : value);
    }
}

// --- mouse: dragging the bar to another edge, resizing by whole rows

int TSpeedBar::ResizeZone(QPoint p) const
{
    if (!(options_ & sbAllowResize) || !editWin_ || dragging_)
        return 0;
    const int cw = width(), ch = height(), x = p.x(), y = p.y();
    const bool alongX = x >= 1 && x <= cw, alongY = y >= 1 && y <= ch;
    switch (align_) {
    case alTop:
        return alongX && y > ch - 4 && y <= ch + 4 ? 1 : 0;
    case alBottom:
        return alongX && y >= -3 && y < 5 ? 1 : 0;
    case alLeft:
        return alongY && x > cw - 4 && x <= cw + 4 ? 2 : 0;
    case alRight:
        return alongY && x >= -3 && x < 5 ? 2 : 0;
    default:
        return 0;
    }
}

void TSpeedBar::ResizeTo(QPoint p)
{
    QWidget* parent = parentWidget();
    if (!parent || !parent->rect().contains(mapTo(parent, p)))
        return;
    int n = 0;
    switch (align_) {
    case alTop:
        n = std::abs(p.y() - 2 * BtnOffsetVert()) / BtnHeight();
        break;
    case alBottom:
        n = std::abs(height() - 2 * BtnOffsetVert() - p.y()) / BtnHeight();
        break;
    case alLeft:
        n = std::abs(p.x() - 2 * BtnOffsetHorz()) / BtnWidth();
        break;
    case alRight:
        n = std::abs(width() - 2 * BtnOffsetHorz() - p.x()) / BtnWidth();
        break;
    default:
        return;
    }
    n = std::max(1, n);
    if (!vertical_)
        SetThickness(std::min(n * BtnHeight() + 2 * BtnOffsetVert(), parent->height()));
    else
        SetThickness(std::min(n * BtnWidth() + 2 * BtnOffsetHorz(), parent->width()));
    FitToParent();
}

bool TSpeedBar::FrameForSide(TAlign side, QRect& frame)
{
    bool apply = true;
    if (OnApplyAlign)
        OnApplyAlign(this, side, apply);
    if (!apply)
        return false;
    QWidget* parent = parentWidget();
    if (!parent)
        return false;
    QRect r = parent->rect();
    for (QObject* child : parent->children()) {
        auto* other = qobject_cast<QWidget*>(child);
        if (!other || other == this || other->isHidden() || other->isWindow())
            continue;
        const TAlign a = SiblingAlign(*other, parent->rect());
        if (!EdgeAlign(a))
            continue;
        bool before = a < side;
        if (a == side)
            before = (a == alTop && other->y() < y()) || (a == alBottom && other->geometry().bottom() > geometry().bottom()) ||
                     (a == alLeft && other->x() < x()) || (a == alRight && other->geometry().right() > geometry().right());
        if (!before)
            continue;
        if (a == alTop)
            r.setTop(r.top() + other->height());
        else if (a == alBottom)
            r.setBottom(r.bottom() - other->height());
        else if (a == alLeft)
            r.setLeft(r.left() + other->width());
        else
            r.setRight(r.right() - other->width());
    }
    r.moveTopLeft(parent->mapToGlobal(r.topLeft()));
    const int thickness = Thickness();
    if (side == alTop)
        r.setHeight(thickness);
    else if (side == alBottom)
        r.setTop(r.bottom() - thickness + 1);
    else if (side == alLeft)
        r.setWidth(thickness);
    else
        r.setLeft(r.right() - thickness + 1);
    frame = r;
    return true;
}

void TSpeedBar::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    if (ResizeZone(e->position().toPoint())) {
        resizing_ = true;
        return;
    }
    if ((options_ & sbAllowDrag) && parentWidget() && EdgeAlign(align_)) {
        pressed_ = true;
        dragStart_ = e->globalPosition().toPoint();
    }
}

void TSpeedBar::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint(), global = e->globalPosition().toPoint();
    if (resizing_) {
        ResizeTo(p);
        return;
    }
    if (!pressed_) {
        if (const int zone = ResizeZone(p))
            setCursor(zone == 1 ? Qt::SizeVerCursor : Qt::SizeHorCursor);
        else
            unsetCursor();
        return;
    }
    if (!dragging_) {
        if (std::abs(global.x() - dragStart_.x()) < 5 && std::abs(global.y() - dragStart_.y()) < 5)
            return;
        dragging_ = true;
        dragFrame_ = QRect(mapToGlobal(QPoint(0, 0)), size());
        dragAlign_ = align_;
        vx::DrawInvertFrame(dragFrame_, 3);
        setCursor(vx::ScreenCursor(vx::crDragHand));
        return;
    }
    DragTo(global);
}

// The frame follows the side under the point while that side is accepted.
void TSpeedBar::DragTo(QPoint globalPos)
{
    QWidget* parent = parentWidget();
    const TAlign side = vx::SpeedbarSideUnderPoint(parent->mapFromGlobal(globalPos), parent->size());
    QRect frame;
    if (!FrameForSide(side, frame))
        return;
    dragAlign_ = side;
    if (frame != dragFrame_) {
        vx::DrawInvertFrame(dragFrame_, 3);
        dragFrame_ = frame;
        vx::DrawInvertFrame(dragFrame_, 3);
    }
}

void TSpeedBar::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    if (resizing_) {
        resizing_ = false;
        unsetCursor();
        return;
    }
    if (dragging_)
        EndDrag(e->globalPosition().toPoint());
    pressed_ = false;
}

void TSpeedBar::EndDrag(QPoint globalPos)
{
    DragTo(globalPos);
    vx::DrawInvertFrame(dragFrame_, 3);
    unsetCursor();
    dragging_ = false;
    SetAlign(dragAlign_);
    if (OnPosChanged)
        OnPosChanged(this);
}

void TSpeedBar::mouseDoubleClickEvent(QMouseEvent*)
{
    if (OnDblClick)
        OnDblClick(this);
}
