// The macro recorder's journal on Qt.
#include "shell/qt/windows/RecorderJournal.h"

#include "platform/qt/VirtualKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSocketNotifier>
#include <QStyleHints>
#include <QWheelEvent>
#include <QWidget>

namespace vx::shell {

using recorder::TEventMsg;
namespace rec = vx::recorder;

namespace {

struct TButtonMessages {
    Qt::MouseButton button;
    std::uint32_t down;
    std::uint32_t up;
};
constexpr TButtonMessages ButtonMessages[] = {
    {Qt::LeftButton, rec::WM_LBUTTONDOWN, rec::WM_LBUTTONUP},
    {Qt::RightButton, rec::WM_RBUTTONDOWN, rec::WM_RBUTTONUP},
    {Qt::MiddleButton, rec::WM_MBUTTONDOWN, rec::WM_MBUTTONUP},
};

// The modifier a virtual key holds down, the left and right keys included.
Qt::KeyboardModifier ModifierOf(std::uint8_t vk)
{
    switch (vk) {
    case 0x10: case 0xA0: case 0xA1:
        return Qt::ShiftModifier;
    case 0x11: case 0xA2: case 0xA3:
        return Qt::ControlModifier;
    case 0x12: case 0xA4: case 0xA5:
        return Qt::AltModifier;
    default:
        return Qt::NoModifier;
    }
}

bool KeyRecordOf(const QKeyEvent& key, TEventMsg& record)
{
    if (key.type() == QEvent::KeyRelease && key.isAutoRepeat())
        return false;
    std::uint16_t vk = VirtualKeyOf(key.key());
    // Ctrl+Pause is the Break key; X names it by a key symbol Qt has no key for.
    constexpr quint32 XkBreak = 0xFF6B;
    if ((key.key() == Qt::Key_Pause && (key.modifiers() & Qt::ControlModifier)) || key.nativeVirtualKey() == XkBreak)
        vk = rec::VK_CANCEL;
    if (vk == 0 || vk > 0xFF)
        return false;
    record = rec::KeyEvent(key.type() != QEvent::KeyRelease, key.modifiers() & Qt::AltModifier,
                           static_cast<std::uint8_t>(vk));
    return true;
}

bool MouseRecordOf(const QMouseEvent& mouse, TEventMsg& record)
{
    if (mouse.type() == QEvent::MouseMove) {
        record.message = rec::WM_MOUSEMOVE;
    } else {
        const bool down = mouse.type() != QEvent::MouseButtonRelease;
        record.message = 0;
        for (const TButtonMessages& b : ButtonMessages)
            if (b.button == mouse.button())
                record.message = down ? b.down : b.up;
        if (record.message == 0)
            return false;
    }
    const QPoint at = mouse.globalPosition().toPoint();
    record.paramL = static_cast<std::uint32_t>(at.x());
    record.paramH = static_cast<std::uint32_t>(at.y());
    return true;
}

bool WheelRecordOf(const QWheelEvent& wheel, TEventMsg& record)
{
    const QPoint turn = wheel.angleDelta();
    const QPoint at = wheel.globalPosition().toPoint();
    // Qt counts a turn to the left as positive, the system one to the right.
    if (turn.y() != 0)
        record = rec::WheelEvent(rec::WM_MOUSEWHEEL, at.x(), at.y(), turn.y());
    else if (turn.x() != 0)
        record = rec::WheelEvent(rec::WM_MOUSEHWHEEL, at.x(), at.y(), -turn.x());
    else
        return false;
    return true;
}

} // namespace

bool JournalRecordOf(const QEvent& event, TEventMsg& record)
{
    record = TEventMsg{};
    switch (event.type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return KeyRecordOf(static_cast<const QKeyEvent&>(event), record);
    // A double click is the second press again, which has come before it.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        return MouseRecordOf(static_cast<const QMouseEvent&>(event), record);
    case QEvent::Wheel:
        return WheelRecordOf(static_cast<const QWheelEvent&>(event), record);
    default:
        return false;
    }
}

TRecorderJournal::TRecorderJournal(QObject* parent)
    : QObject(parent), onXDisplay_(QGuiApplication::platformName() == QLatin1String("xcb")), recorder_(*this, *this)
{
    if (onXDisplay_)
        desktop_ = x11::TXDesktopJournal::Open();
    elapsed_.start();
    playTimer_.setSingleShot(true);
    connect(&playTimer_, &QTimer::timeout, this, [this] { pump(); });
    // With only its own windows to follow, losing the focus to another program
    // ends recording and playback, as the system cancels its journal hooks
    // when the user switches away.
    if (!desktop_)
        connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive)
                recorder_.StopHook();
        });
}


std::uint32_t TRecorderJournal::TickCount()
{
    return static_cast<std::uint32_t>(elapsed_.elapsed());
}

bool TRecorderJournal::Install(THook hook)
{
    if (hook == THook::Record) {
        if (desktop_)
            return startDesktopRecording();
        qApp->installEventFilter(this);
        filtering_ = true;
        return true;
    }
    desktopPlaying_ = desktop_ != nullptr;
    modifiers_ = Qt::NoModifier;
    buttons_ = Qt::NoButton;
    grabber_ = nullptr;
    keyWindow_ = nullptr;
    lastPress_ = {};
    playTimer_.start(0);
    return true;
}

bool TRecorderJournal::startDesktopRecording()
{
    if (!desktop_->StartRecording([this](const TEventMsg& event) { recorder_.Journal(event); }))
        return false;
    desktopInput_ = new QSocketNotifier(desktop_->RecordingSocket(), QSocketNotifier::Read, this);
    connect(desktopInput_, &QSocketNotifier::activated, this, [this] { desktop_->ProcessRecorded(); });
    return true;
}

void TRecorderJournal::Remove()
{
    if (filtering_)
        qApp->removeEventFilter(this);
    filtering_ = false;
    playTimer_.stop();
    if (desktopInput_) {
        // Recording may end inside the watcher's own signal (Ctrl+Break).
        desktopInput_->setEnabled(false);
        desktopInput_->deleteLater();
        desktopInput_ = nullptr;
        desktop_->StopRecording();
    }
    if (desktopPlaying_)
        desktop_->ReleaseHeld();
    desktopPlaying_ = false;
}

void TRecorderJournal::pump()
{
    // An event that opens a window runs an event loop of its own while it
    // plays; the events after it must go on playing there.
    playTimer_.start(0);
    const int wait = recorder_.Pump();
    if (wait >= 0)
        playTimer_.start(wait);
    else
        playTimer_.stop();
}

void TRecorderJournal::Play(const TEventMsg& event)
{
    if (desktop_)
        desktop_->Play(event);
    else if (rec::IsKeyMessage(event.message))
        playKey(event);
    else if (rec::IsWheelMessage(event.message))
        playWheel(event);
    else
        playMouse(event);
}

bool TRecorderJournal::eventFilter(QObject* watched, QEvent* event)
{
    // Input reaches a window once from the system, then its widgets; the
    // window's copy is the one that counts.
    if (!watched->isWindowType() || !event->spontaneous())
        return false;
    // A key press is first offered to the shortcuts, and one that triggers a
    // shortcut goes no further: the offer is the key press, and the press
    // that may follow it is the same stroke again.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const std::pair<quint64, int> stroke(key->timestamp(), key->key());
        if (event->type() == QEvent::KeyPress && stroke == offered_) {
            offered_ = {};
            return false;
        }
        if (event->type() == QEvent::ShortcutOverride)
            offered_ = stroke;
    }
    TEventMsg record;
    if (JournalRecordOf(*event, record))
        recorder_.Journal(record);
    return false;
}

void TRecorderJournal::playKey(const TEventMsg& record)
{
    const auto vk = static_cast<std::uint8_t>(record.paramL & 0xFF);
    const bool down = record.message == rec::WM_KEYDOWN || record.message == rec::WM_SYSKEYDOWN;
    // Character and dead-key messages come from key strokes; the strokes play them.
    if (!down && record.message != rec::WM_KEYUP && record.message != rec::WM_SYSKEYUP)
        return;
    QWidget* target = keyWindow_ ? keyWindow_->focusWidget() : nullptr;
    if (!target)
        target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    TQtKeyStroke stroke = QtKeyOf(vk, modifiers_ & Qt::ShiftModifier);
    if (vk == rec::VK_CANCEL)
        stroke = {Qt::Key_Pause, QString()};
    if (const Qt::KeyboardModifier modifier = ModifierOf(vk); modifier != Qt::NoModifier) {
        // A modifier is reported held on its own press, released on its own release.
        modifiers_.setFlag(modifier, down);
    }
    if (!target || stroke.key == 0)
        return;
    if (modifiers_ & (Qt::ControlModifier | Qt::AltModifier))
        stroke.text.clear();
    QKeyEvent key(down ? QEvent::KeyPress : QEvent::KeyRelease, stroke.key, modifiers_, stroke.text);
    QCoreApplication::sendEvent(target, &key);
}

void TRecorderJournal::playMouse(const TEventMsg& record)
{
    const QPoint at(rec::MouseXOf(record), rec::MouseYOf(record));
    Qt::MouseButton button = Qt::NoButton;
    QEvent::Type type = QEvent::MouseMove;
    for (const TButtonMessages& b : ButtonMessages) {
        if (record.message == b.down) {
            button = b.button;
            type = QEvent::MouseButtonPress;
        } else if (record.message == b.up) {
            button = b.button;
            type = QEvent::MouseButtonRelease;
        }
    }
    if (type == QEvent::MouseMove && record.message != rec::WM_MOUSEMOVE)
        return;
    QWidget* target = buttons_ != Qt::NoButton && grabber_ ? grabber_.data() : QApplication::widgetAt(at);
    if (type == QEvent::MouseButtonPress)
        buttons_ |= button;
    else if (type == QEvent::MouseButtonRelease)
        buttons_ &= ~button;
    if (type == QEvent::MouseButtonPress)
        grabber_ = target;
    if (!target)
        return;
    if (type == QEvent::MouseButtonPress) {
        keyWindow_ = target->window();
        // As a click activates its window; the system's activation comes
        // later, and the keys that follow at once must already find the
        // window active, for its shortcuts among other things.
        if (!keyWindow_->isActiveWindow()) {
            keyWindow_->activateWindow();
            QApplication::setActiveWindow(keyWindow_);
        }
    }
    const QPointF local = target->mapFromGlobal(QPointF(at));
    const QPointF inWindow = target->window()->mapFromGlobal(QPointF(at));
    QMouseEvent mouse(type, local, inWindow, QPointF(at), button, buttons_, modifiers_);
    QCoreApplication::sendEvent(target, &mouse);
    if (type != QEvent::MouseButtonPress)
        return;
    // A second press soon after the first at the same place is a double
    // click, as the system makes it of the presses it delivers.
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    const int distance = QGuiApplication::styleHints()->mouseDoubleClickDistance();
    const std::uint32_t now = TickCount();
    const bool twice = lastPress_.button == button && now - lastPress_.tick <= static_cast<std::uint32_t>(interval) &&
                       (at - lastPress_.at).manhattanLength() <= distance;
    lastPress_ = {twice ? 0 : now, twice ? Qt::NoButton : button, at};
    if (twice && grabber_) {
        QMouseEvent doubled(QEvent::MouseButtonDblClick, local, inWindow, QPointF(at), button, buttons_, modifiers_);
        QCoreApplication::sendEvent(grabber_, &doubled);
    }
}

void TRecorderJournal::playWheel(const TEventMsg& record)
{
    const QPoint at(rec::MouseXOf(record), rec::MouseYOf(record));
    const int delta = rec::WheelDeltaOf(record);
    const QPoint turn = record.message == rec::WM_MOUSEWHEEL ? QPoint(0, delta) : QPoint(-delta, 0);
    // As the window system hands a turn on: to the widget under the pointer,
    // then to its parents until one takes it.
    for (QWidget* target = QApplication::widgetAt(at); target; target = target->parentWidget()) {
        QWheelEvent wheel(target->mapFromGlobal(QPointF(at)), QPointF(at), QPoint(), turn, buttons_, modifiers_,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(target, &wheel);
        if (wheel.isAccepted() || target->isWindow())
            break;
    }
}

} // namespace vx::shell
