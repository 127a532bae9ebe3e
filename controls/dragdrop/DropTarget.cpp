// Drop-target registration, drop-effect rules and the file-list drop target.
#include "controls/dragdrop/DropTarget.h"

#include "platform/qt/QtText.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

int KeyStateOf(const QDropEvent& event)
{
    int state = 0;
    const Qt::KeyboardModifiers keys = event.modifiers();
    const Qt::MouseButtons buttons = event.buttons();
    if (keys & Qt::ShiftModifier)
        state |= MK_SHIFT;
    if (keys & Qt::ControlModifier)
        state |= MK_CONTROL;
    if (buttons & Qt::LeftButton)
        state |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        state |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        state |= MK_MBUTTON;
    return state;
}

// Accepts or refuses the Qt event after the protocol answered.
void Answer(QDropEvent& event, TDropResult result, int effect)
{
    Qt::DropAction action = Qt::IgnoreAction;
    if (effect & DROPEFFECT_MOVE)
        action = Qt::MoveAction;
    else if (effect & DROPEFFECT_COPY)
        action = Qt::CopyAction;
    else if (effect & DROPEFFECT_LINK)
        action = Qt::LinkAction;
    if (result == S_OK && action != Qt::IgnoreAction) {
        event.setDropAction(action);
        event.accept();
    } else {
        event.ignore();
    }
}

} // namespace

TDropTarget::TDropTarget(QObject* owner) : QObject(owner) {}

TDropTarget::~TDropTarget() { Unregister(); }

void TDropTarget::SetEnabled(bool value)
{
    enabled_ = value;
    if (enabled_)
        Register();
    else
        Unregister();
}

void TDropTarget::SetTarget(QWidget* value)
{
    if (value == target_)
        return;
    Unregister();
    if (target_)
        disconnect(target_, &QObject::destroyed, this, nullptr);
    target_ = value;
    if (target_)
        connect(target_, &QObject::destroyed, this, [this] {
            registered_ = false;
            data_ = nullptr;
        });
    if (enabled_)
        Register();
}

void TDropTarget::Register()
{
    if (registered_ || !target_)
        return;
    target_->installEventFilter(this);
    target_->setAcceptDrops(true);
    registered_ = true;
}

void TDropTarget::Unregister()
{
    if (!registered_)
        return;
    registered_ = false;
    data_ = nullptr;
    if (target_) {
        target_->removeEventFilter(this);
        target_->setAcceptDrops(false);
    }
}

int TDropTarget::GetValidDropEffect(int keyState)
{
    const bool shift = keyState & MK_SHIFT;
    const bool ctrl = keyState & MK_CONTROL;
    int effect = DROPEFFECT_NONE;
    if (shift && ctrl && (dragTypes_ & dtLink))
        effect = DROPEFFECT_LINK;
    else if (shift && !ctrl && (dragTypes_ & dtMove))
        effect = DROPEFFECT_MOVE;
    else if (dragTypes_ & dtCopy)
        effect = DROPEFFECT_COPY;
    else if (dragTypes_ & dtMove)
        effect = DROPEFFECT_MOVE;
    if (OnGetDropEffect)
        OnGetDropEffect(this, keyState, effect);
    return effect;
}

TDropResult TDropTarget::DragEnter(const QMimeData* data, int keyState, QPoint point, int& effect)
{
    data_ = data;
    effect = GetValidDropEffect(keyState);
    const TDropResult result = DoEnter(keyState, point, effect);
    if (result != S_OK)
        effect = DROPEFFECT_NONE;
    return result;
}

TDropResult TDropTarget::DragOver(int keyState, QPoint point, int& effect)
{
    effect = data_ ? GetValidDropEffect(keyState) : DROPEFFECT_NONE;
    return DoDragOver(keyState, point, effect);
}

void TDropTarget::DragLeave()
{
    data_ = nullptr;
    DoLeave();
}

TDropResult TDropTarget::Drop(const QMimeData* data, int keyState, QPoint point, int& effect)
{
    TDropResult result = E_FAIL;
    if (data_) {
        data_ = data;
        effect = GetValidDropEffect(keyState);
        result = DoDrop(keyState, point, effect);
    } else {
        effect = DROPEFFECT_NONE;
    }
    data_ = nullptr;
    return result;
}

bool TDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != target_ || !registered_)
        return QObject::eventFilter(watched, event);
    int effect = DROPEFFECT_NONE;
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto& drag = static_cast<QDropEvent&>(*event);
        const QPoint at = target_->mapToGlobal(drag.position().toPoint());
        const TDropResult result = DragEnter(drag.mimeData(), KeyStateOf(drag), at, effect);
        Answer(drag, result, effect);
        return true;
    }
    case QEvent::DragMove: {
        auto& drag = static_cast<QDropEvent&>(*event);
        const QPoint at = target_->mapToGlobal(drag.position().toPoint());
        const TDropResult result = DragOver(KeyStateOf(drag), at, effect);
        Answer(drag, result, effect);
        return true;
    }
    case QEvent::DragLeave:
        DragLeave();
        return true;
    case QEvent::Drop: {
        auto& drop = static_cast<QDropEvent&>(*event);
        const QPoint at = target_->mapToGlobal(drop.position().toPoint());
        const TDropResult result = Drop(drop.mimeData(), KeyStateOf(drop), at, effect);
        Answer(drop, result, effect);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

TStringList DroppedFiles(const QMimeData& data)
{
    TStringList files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            files.Add(vx::FromQPath(url.toLocalFile()));
    return files;
}

TDropFileTarget::TDropFileTarget(QObject* owner) : TDropTarget(owner) {}

void TDropFileTarget::GetData()
{
    files_.Clear();
    if (DataObject())
        files_.AddStrings(DroppedFiles(*DataObject()));
}

TDropResult TDropFileTarget::DoEnter(int keyState, QPoint point, int& effect)
{
    files_.Clear();
    if (!DataObject())
        return E_FAIL;
    if (DroppedFiles(*DataObject()).Count() == 0) {
        ReleaseDataObject();
        return DV_E_FORMATETC;
    }
    if (OnEnter) {
        if (GetDataOnEnter())
            GetData();
        OnEnter(this, files_);
    }
    return S_OK;
}

TDropResult TDropFileTarget::DoDragOver(int keyState, QPoint point, int& effect)
{
    if (DataObject() && OnDragOver)
        OnDragOver(this);
    return S_OK;
}

void TDropFileTarget::DoLeave()
{
    files_.Clear();
    if (OnLeave)
        OnLeave(this);
}

TDropResult TDropFileTarget::DoDrop(int keyState, QPoint point, int& effect)
{
    if (files_.Count() == 0)
        GetData();
    if (files_.Count() == 0)
        return E_FAIL;
    if (OnDrop) {
        const int dropType = effect == DROPEFFECT_MOVE ? 1 : effect == DROPEFFECT_COPY ? 0 : 2;
        OnDrop(this, dropType, point, files_);
    }
    return S_OK;
}
