// The gradient caption bar, its text pieces and the layout that drops pieces.
#include "controls/display/RxGrdCpt.h"

#include "controls/common/SysColors.h"
#include "controls/common/VCLUtils.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

// ---------------------------------------------------------------- TRxCaption

TRxCaption::TRxCaption(TRxGradientCaption* owner) : owner_(owner)
{
    if (owner_) {
        font_ = owner_->Font();
        fontColor_ = owner_->FontColor();
    }
}

void TRxCaption::Changed()
{
    if (owner_)
        owner_->PieceChanged(false);
}

void TRxCaption::SetCaption(const std::string& value)
{
    if (caption_ == value)
        return;
    caption_ = value;
    Changed();
}

void TRxCaption::SetFont(const QFont& value)
{
    parentFont_ = false;
    if (font_ == value)
        return;
    font_ = value;
    Changed();
}

void TRxCaption::SetFontColor(TColor value)
{
    parentFont_ = false;
    if (fontColor_ == value)
        return;
    fontColor_ = value;
    Changed();
}

void TRxCaption::SetParentFont(bool value)
{
    if (parentFont_ == value)
        return;
    parentFont_ = value;
    if (value && owner_) {
        font_ = owner_->Font();
        fontColor_ = owner_->FontColor();
    }
    Changed();
}

void TRxCaption::SetInactiveColor(TColor value)
{
    if (inactiveColor_ == value)
        return;
    inactiveColor_ = value;
    if (owner_)
        owner_->PieceChanged(true);
}

void TRxCaption::SetGlueNext(bool value)
{
    if (glueNext_ == value)
        return;
    glueNext_ = value;
    Changed();
}

void TRxCaption::SetVisible(bool value)
{
    if (visible_ == value)
        return;
    visible_ = value;
    Changed();
}

// ------------------------------------------------------------ TRxCaptionList

TRxCaption& TRxCaptionList::Add()
{
    items_.push_back(std::make_unique<TRxCaption>(owner_));
    owner_->PieceChanged(false);
    return *items_.back();
}

void TRxCaptionList::Delete(int index)
{
    Items(index); // raises for an index out of range
    items_.erase(items_.begin() + index);
    owner_->Invalidate();
}

void TRxCaptionList::Clear()
{
    items_.clear();
    owner_->Invalidate();
}

// -------------------------------------------------------------------- layout

namespace vx {

namespace {

// Visible pieces in groups: a piece glued to the next one shares its group.
std::vector<std::vector<int>> PieceGroups(const std::vector<TCaptionPiece>& pieces)
{
    std::vector<std::vector<int>> groups;
    bool glued = false;
    for (int i = 0; i < static_cast<int>(pieces.size()); ++i) {
        if (!pieces[i].visible)
            continue;
        if (!glued || groups.empty())
            groups.emplace_back();
        groups.back().push_back(i);
        glued = pieces[i].glueNext;
    }
    return groups;
}

int GroupWidth(const std::vector<TCaptionPiece>& pieces, const std::vector<int>& group)
{
    int width = 0;
    for (int i : group)
        width += pieces[i].width;
    return width;
}

} // namespace

std::vector<int> CaptionPiecesShown(const std::vector<TCaptionPiece>& pieces, int captionWidth, int available,
                                    THideDirection direction)
{
    const auto groups = PieceGroups(pieces);
    std::vector<int> shown;
    if (direction == hdLeftToRight) {
        int total = 2 + captionWidth;
        for (const auto& group : groups)
            total += GroupWidth(pieces, group);
        std::size_t first = 0;
        while (total > available && first < groups.size())
            total -= GroupWidth(pieces, groups[first++]);
        for (std::size_t g = first; g < groups.size(); ++g)
            shown.insert(shown.end(), groups[g].begin(), groups[g].end());
    } else {
        int used = 2;
        for (const auto& group : groups) {
            const int width = GroupWidth(pieces, group);
            if (used + width > available)
                break;
            used += width;
            shown.insert(shown.end(), group.begin(), group.end());
        }
    }
    return shown;
}

} // namespace vx

// -------------------------------------------------------- TRxGradientCaption

namespace {

enum class TBorder { None, Tool, Dialog, Normal };

TBorder BorderOf(const QWidget* window)
{
    const Qt::WindowFlags flags = window->windowFlags();
    if (flags & Qt::FramelessWindowHint)
        return TBorder::None;
    switch (window->windowType()) {
    case Qt::Tool:
        return TBorder::Tool;
    case Qt::Dialog:
    case Qt::Sheet:
        return TBorder::Dialog;
    default:
        return TBorder::Normal;
    }
}

bool HasSystemMenu(const QWidget* window)
{
    const Qt::WindowFlags flags = window->windowFlags();
    return !(flags & Qt::CustomizeWindowHint) || (flags & Qt::WindowSystemMenuHint);
}

constexpr int SmallIconSize = 16;

} // namespace

TRxGradientCaption::TRxGradientCaption(QWidget* parent) : QWidget(parent)
{
    setObjectName("RxGradientCaption");
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    ApplyDefaultFont();
}

TRxGradientCaption::~TRxGradientCaption() = default;

QSize TRxGradientCaption::sizeHint() const
{
    return {200, std::max(SmallIconSize + 4, QFontMetrics(font_).height() + 6)};
}

void TRxGradientCaption::ApplyDefaultFont()
{
    font_ = QApplication::font();
    font_.setBold(true);
    fontColor_ = clCaptionText;
    for (int i = 0; i < captions_.Count(); ++i) {
        TRxCaption& piece = captions_.Items(i);
        if (piece.ParentFont()) {
            piece.font_ = font_;
            piece.fontColor_ = fontColor_;
        }
    }
    updateGeometry();
}

void TRxGradientCaption::SetActive(bool value)
{
    if (active_ == value)
        return;
    active_ = value;
    // Without the bar the window manager's own title bar is all there is.
    if (parentWidget())
        setVisible(value);
    Invalidate();
    const vx::TNotifyEvent& event = value ? OnActivate : OnDeactivate;
    if (event)
        event(this);
}

void TRxGradientCaption::SetDefaultFont(bool value)
{
    if (defaultFont_ == value)
        return;
    defaultFont_ = value;
    if (value)
        ApplyDefaultFont();
    Invalidate();
}

void TRxGradientCaption::SetFormCaption(const std::string& value)
{
    if (formCaption_ == value)
        return;
    formCaption_ = value;
    Invalidate();
}

void TRxGradientCaption::SetFontInactiveColor(TColor value)
{
    if (fontInactiveColor_ == value)
        return;
    fontInactiveColor_ = value;
    if (!formActive_)
        Invalidate();
}

void TRxGradientCaption::SetFont(const QFont& value)
{
    defaultFont_ = false;
    font_ = value;
    for (int i = 0; i < captions_.Count(); ++i) {
        TRxCaption& piece = captions_.Items(i);
        if (piece.ParentFont())
            piece.font_ = value;
    }
    updateGeometry();
    Invalidate();
}

void TRxGradientCaption::SetFontColor(TColor value)
{
    defaultFont_ = false;
    fontColor_ = value;
    for (int i = 0; i < captions_.Count(); ++i) {
        TRxCaption& piece = captions_.Items(i);
        if (piece.ParentFont())
            piece.fontColor_ = value;
    }
    Invalidate();
}

void TRxGradientCaption::SetGradientActive(bool value)
{
    if (gradientActive_ == value)
        return;
    gradientActive_ = value;
    if (formActive_)
        Invalidate();
}

void TRxGradientCaption::SetGradientInactive(bool value)
{
    if (gradientInactive_ == value)
        return;
    gradientInactive_ = value;
    if (!formActive_)
        Invalidate();
}

void TRxGradientCaption::SetGradientSteps(int value)
{
    if (gradientSteps_ == value)
        return;
    gradientSteps_ = value;
    if (formActive_ ? gradientActive_ : gradientInactive_)
        Invalidate();
}

void TRxGradientCaption::SetHideDirection(THideDirection value)
{
    if (hideDirection_ == value)
        return;
    hideDirection_ = value;
    Invalidate();
}

void TRxGradientCaption::SetStartColor(TColor value)
{
    if (startColor_ == value)
        return;
    startColor_ = value;
    Invalidate();
}

void TRxGradientCaption::PieceChanged(bool colorOnly)
{
    if (!active_ || (colorOnly && formActive_))
        return;
    Invalidate();
}

void TRxGradientCaption::Invalidate()
{
    formActive_ = isActiveWindow();
    update();
}

bool TRxGradientCaption::event(QEvent* e)
{
    // The window passes its activation on to its children.
    const bool activation = e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate ||
                            e->type() == QEvent::ActivationChange;
    const bool result = QWidget::event(e);
    if (activation)
        Invalidate();
    return result;
}

void TRxGradientCaption::showEvent(QShowEvent* e)
{
    formActive_ = isActiveWindow();
    QWidget::showEvent(e);
}

void TRxGradientCaption::paintEvent(QPaintEvent*)
{
    if (!active_)
        return;
    QPainter canvas(this);
    PaintCaption(canvas);
}

void TRxGradientCaption::PaintCaption(QPainter& canvas)
{
    if (BorderOf(window()) == TBorder::None)
        return;
    const QRect bar = rect();
    // The left quarter of the ramp lies outside the bar, so the bar starts a
    // little way into the gradient.
    const QRect ramp(-(bar.width() / 4), bar.top(), bar.width() + bar.width() / 4, bar.height());
    const TColor endColor = formActive_ ? clActiveCaption : clInactiveCaption;
    if (formActive_ ? gradientActive_ : gradientInactive_)
        vx::GradientFillRect(canvas, ramp, startColor_, endColor, vx::fdLeftToRight, gradientSteps_);
    else
        canvas.fillRect(bar, vx::ToQColor(endColor));
    QRect area = bar;
    area.setLeft(DrawIcon(canvas, bar));
    if (!formCaption_.empty() || captions_.Count() > 0)
        DrawTexts(canvas, area);
}

int TRxGradientCaption::DrawIcon(QPainter& canvas, const QRect& bar)
{
    const QWidget* form = window();
    const TBorder border = BorderOf(form);
    if (!HasSystemMenu(form) || (border != TBorder::Normal))
        return bar.left();
    QIcon icon = form->windowIcon();
    if (icon.isNull())
        icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_TitleBarMenuButton);
    const int square = bar.height();
    const QRect place(bar.left() + 1 + (square - SmallIconSize) / 2, bar.top() + (square - SmallIconSize) / 2,
                      SmallIconSize, SmallIconSize);
    icon.paint(&canvas, QStyle::visualRect(layoutDirection(), rect(), place));
    return bar.left() + 1 + square;
}

void TRxGradientCaption::DrawTexts(QPainter& canvas, QRect area)
{
    struct TText {
        QString text;
        QFont font;
        TColor color;
    };
    std::vector<vx::TCaptionPiece> widths;
    for (int i = 0; i < captions_.Count(); ++i) {
        const TRxCaption& piece = captions_.Items(i);
        const QFont& font = piece.ParentFont() ? font_ : piece.Font();
        widths.push_back({QFontMetrics(font).horizontalAdvance(vx::ToQString(piece.Caption())), piece.Visible(),
                          piece.GlueNext()});
    }
    const QString caption = vx::ToQString(formCaption_);
    const int captionWidth = QFontMetrics(font_).horizontalAdvance(caption);
    std::vector<TText> texts;
    for (int i : vx::CaptionPiecesShown(widths, captionWidth, area.width(), hideDirection_)) {
        const TRxCaption& piece = captions_.Items(i);
        const bool parent = piece.ParentFont();
        texts.push_back({vx::ToQString(piece.Caption()), parent ? font_ : piece.Font(),
                         formActive_ ? (parent ? fontColor_ : piece.FontColor()) : piece.InactiveColor()});
    }
    texts.push_back({caption, font_, formActive_ ? fontColor_ : fontInactiveColor_});

    // A right-to-left window reads its bar from the right: the same layout, mirrored.
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    const int flags = Qt::AlignVCenter | Qt::AlignAbsolute | Qt::TextSingleLine |
                      (rightToLeft ? Qt::AlignRight | Qt::TextForceRightToLeft : Qt::AlignLeft);
    int x = area.left() + 2;
    for (const TText& t : texts) {
        const int room = area.right() + 1 - x;
        if (room <= 0)
            break;
        canvas.setFont(t.font);
        const QFontMetrics metrics(t.font);
        const QString shown = vx::MinimizeText(t.text, metrics, room);
        canvas.setPen(vx::ToQColor(t.color));
        canvas.drawText(QStyle::visualRect(layoutDirection(), rect(), QRect(x, area.top(), room, area.height())),
                        flags, shown);
        x += metrics.horizontalAdvance(shown);
    }
}

QMenu* TRxGradientCaption::PopupMenu() const
{
    return popupMenu_;
}

void TRxGradientCaption::SetPopupMenu(QMenu* value)
{
    popupMenu_ = value;
}

void TRxGradientCaption::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::RightButton && popupMenu_) {
        rightDown_ = true;
        e->accept();
        return;
    }
    QWidget::mousePressEvent(e);
}

void TRxGradientCaption::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::RightButton && rightDown_) {
        rightDown_ = false;
        e->accept();
        if (popupMenu_)
            popupMenu_->popup(e->globalPosition().toPoint());
        return;
    }
    QWidget::mouseReleaseEvent(e);
}
