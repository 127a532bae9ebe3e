// The flat hint component, its window, and the application-wide hint timing
// that shows the window in place of Qt's tooltips.
#include "controls/flat/TFlatHintUnit.h"

#include "platform/qt/QtText.h"
#include "controls/common/SysColors.h"
#include "controls/flat/FlatUtilitys.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <array>
#include <memory>

namespace vx {

QSize CalcHintSize(const QFont& font, int maxHintWidth, const QString& text)
{
    QRect r = QFontMetrics(font).boundingRect(QRect(0, 0, std::max(1, maxHintWidth - 22), 0), Qt::TextWordWrap, text);
    return QSize(r.width() + 22, r.height() + 6);
}

THintPlacement CalcHintPlacement(QPoint cursor, QSize screen, QSize size)
{
    const bool left = cursor.x() < screen.width() / 2;
    const bool top = cursor.y() < screen.height() / 2;
    THintPlacement out;
    if (top && left)
        out.ArrowPos = apTopLeft;
    else if (top)
        out.ArrowPos = apTopRight;
    else if (left)
        out.ArrowPos = apBottomLeft;
    else
        out.ArrowPos = apBottomRight;
    const int d = out.ArrowPos == apTopLeft ? 12 : 5;
    const int x = cursor.x(), y = cursor.y(), w = size.width(), h = size.height();
    switch (out.ArrowPos) {
    case apTopRight:
        out.Bounds = WinRect(x - w - d, y + d, x - d, y + h + d);
        break;
    case apTopLeft:
        out.Bounds = WinRect(x + d, y + d, x + w + d, y + h + d);
        break;
    case apBottomRight:
        out.Bounds = WinRect(x - w - d, y - h - d, x - d, y - d);
        break;
    case apBottomLeft:
        out.Bounds = WinRect(x + d, y - h - d, x + w + d, y - d);
        break;
    }
    return out;
}

} // namespace vx

namespace {

QPointer<QWidget> gMainForm;

// The up-left arrow; the other positions mirror it.
constexpr std::array<QPoint, 18> kArrow{{{0, 0}, {0, 6}, {1, 6}, {1, 0}, {6, 0}, {6, 1}, {2, 1}, {2, 4}, {5, 7},
                                         {6, 7}, {3, 4}, {3, 3}, {6, 6}, {7, 6}, {3, 2}, {4, 2}, {7, 5}, {7, 6}}};

} // namespace

// Watches the whole application for the mouse resting on a widget with a hint
// and shows the flat hint window for it; Qt's own tooltips are suppressed.
class TFlatHintManager : public QObject {
public:
    static TFlatHintManager& Instance()
    {
        static QPointer<TFlatHintManager> instance;
        if (!instance)
            instance = new TFlatHintManager;
        return *instance;
    }

    QPointer<TFlatHint> showHintOwner;

    void Attach(TFlatHint* hint)
    {
        ++liveHints_;
        showHintOwner = hint;
    }

    // The window is rebuilt on demand, so it need not outlive the last component.
    void Detach()
    {
        if (--liveHints_ == 0) {
            Hide();
            window_.reset();
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::ToolTip:
            return true;
        case QEvent::MouseMove:
            if (watched->isWidgetType())
                Track(static_cast<QWidget*>(watched));
            break;
        case QEvent::MouseButtonPress:
        case QEvent::KeyPress:
        case QEvent::Wheel:
            Hide();
            target_ = nullptr;
            break;
        case QEvent::Leave:
            if (watched == target_) {
                Hide();
                target_ = nullptr;
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    TFlatHintManager() : QObject(qApp)
    {
        qApp->installEventFilter(this);
        showTimer_.setSingleShot(true);
        hideTimer_.setSingleShot(true);
        QObject::connect(&showTimer_, &QTimer::timeout, [this] { Show(); });
        QObject::connect(&hideTimer_, &QTimer::timeout, [this] { Hide(); });
    }

    void Track(QWidget* widget)
    {
        while (widget && widget->toolTip().isEmpty() && !widget->isWindow())
            widget = widget->parentWidget();
        if (widget && widget->toolTip().isEmpty())
            widget = nullptr;
        if (widget == target_)
            return;
        target_ = widget;
        if (!target_) {
            Hide();
            return;
        }
        showTimer_.start(window_ && window_->isVisible() ? TFlatHint::HintShortPause : TFlatHint::HintPause);
    }

    void Show()
    {
        if (!target_ || !target_->isVisible())
            return;
        std::string text = vx::FromQString(target_->toolTip());
        bool canShow = true;
        THintInfo info{target_, QCursor::pos(), 0};
        info.HintMaxWidth = TFlatHintWindow::CurrentLook().MaxHintWidth;
        if (showHintOwner)
            showHintOwner->ShowHint(text, canShow, info);
        if (!canShow || text.empty())
            return;
        if (!window_)
            window_ = std::make_unique<TFlatHintWindow>();
        window_->ActivateHintAt(QCursor::pos(), text);
        hideTimer_.start(TFlatHint::HintHidePause);
    }

    void Hide()
    {
        showTimer_.stop();
        hideTimer_.stop();
        if (window_)
            window_->hide();
    }

    std::unique_ptr<TFlatHintWindow> window_;
    QPointer<QWidget> target_;
    int liveHints_ = 0;
    QTimer showTimer_;
    QTimer hideTimer_;
};

TFlatHint::TFlatHint(QObject* owner) : QObject(owner)
{
    TFlatHintManager::Instance().Attach(this);
}

TFlatHint::~TFlatHint()
{
    TFlatHintManager::Instance().Detach();
}

void TFlatHint::SetColors(int index, TColor value)
{
    TColor* colors[] = {&look_.ColorBackground, &look_.ColorBorder, &look_.ColorArrowBackground, &look_.ColorArrow};
    *colors[index] = value;
}

void TFlatHint::ShowHint(std::string& hintStr, bool& canShow, THintInfo& info)
{
    if (OnShowHint)
        OnShowHint(hintStr, canShow, info);
}

void TFlatHint::SetMainForm(QWidget* form)
{
    gMainForm = form;
}

QWidget* TFlatHint::MainForm()
{
    return gMainForm;
}

TFlatHintWindow::TFlatHintWindow() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
}

TFlatHint* TFlatHintWindow::HintComponent()
{
    QWidget* form = TFlatHint::MainForm();
    if (!form)
        return nullptr;
    for (QObject* child : form->children())
        if (auto* hint = dynamic_cast<TFlatHint*>(child))
            return hint;
    return nullptr;
}

TFlatHintLook TFlatHintWindow::CurrentLook()
{
    const TFlatHint* hint = HintComponent();
    return hint ? hint->Look() : TFlatHintLook();
}

void TFlatHintWindow::ActivateHint(const QRect&, const std::string& text)
{
    ActivateHintAt(QCursor::pos(), text);
}

void TFlatHintWindow::ActivateHintAt(QPoint cursor, const std::string& text)
{
    text_ = text;
    const TFlatHintLook look = CurrentLook();
    setFont(look.Font);
    const QSize size = vx::CalcHintSize(look.Font, look.MaxHintWidth, vx::ToQString(text));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(0, 0);
    const THintPlacement placement = vx::CalcHintPlacement(cursor, screenSize, size);
    arrowPos_ = placement.ArrowPos;
    setGeometry(placement.Bounds);
    show();
}

void TFlatHintWindow::paintEvent(QPaintEvent*)
{
    const TFlatHintLook look = CurrentLook();
    QPainter p(this);
    const int w = width(), h = height();
    const bool stripLeft = arrowPos_ == apTopLeft || arrowPos_ == apBottomLeft;
    const QRect strip = stripLeft ? vx::WinRect(1, 1, 15, h - 1) : vx::WinRect(w - 15, 1, w - 1, h - 1);
    QRect text = stripLeft ? vx::WinRect(15, 1, w - 1, h - 1) : vx::WinRect(1, 1, w - 15, h - 1);
    p.fillRect(strip, vx::ToQColor(look.ColorArrowBackground));
    p.fillRect(text, vx::ToQColor(look.ColorBackground));
    p.setPen(vx::ToQColor(look.ColorBorder));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    const bool up = arrowPos_ == apTopLeft || arrowPos_ == apTopRight;
    const int sx = stripLeft ? 1 : -1, sy = up ? 1 : -1;
    const QPoint origin(stripLeft ? strip.left() + 2 : strip.left() + strip.width() - 3,
                        up ? strip.top() + 2 : strip.top() + strip.height() - 3);
    std::array<QPoint, kArrow.size()> points;
    for (size_t i = 0; i < kArrow.size(); ++i)
        points[i] = origin + QPoint(sx * kArrow[i].x(), sy * kArrow[i].y());
    p.setPen(vx::ToQColor(look.ColorArrow));
    p.drawPolyline(points.data(), static_cast<int>(points.size()));

    text.adjust(3, 1, -3, -1);
    p.setFont(look.Font);
    p.setPen(vx::ToQColor(clWindowText));
    p.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, vx::ToQString(text_));
}
