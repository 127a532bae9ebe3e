// TDropTarget, the base of the components that let a control accept data
// dragged from other programs, and TDropFileTarget, which accepts file lists.
#pragma once

#include "controls/common/Events.h"
#include "platform/TStringList.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <cstdint>
#include <functional>

class QMimeData;
class QWidget;

// Result codes of the drop-target operations.
using TDropResult = std::int32_t;
inline constexpr TDropResult S_OK = 0;
inline constexpr TDropResult E_FAIL = static_cast<TDropResult>(0x80004005u);
inline constexpr TDropResult DV_E_FORMATETC = static_cast<TDropResult>(0x80040064u);

// Drop effects and key-state bits of a drag.
inline constexpr int DROPEFFECT_NONE = 0;
inline constexpr int DROPEFFECT_COPY = 1;
inline constexpr int DROPEFFECT_MOVE = 2;
inline constexpr int DROPEFFECT_LINK = 4;
inline constexpr int MK_LBUTTON = 1;
inline constexpr int MK_RBUTTON = 2;
inline constexpr int MK_SHIFT = 4;
inline constexpr int MK_CONTROL = 8;
inline constexpr int MK_MBUTTON = 16;

enum TDragType { dtCopy = 1, dtMove = 2, dtLink = 4 };
using TDragTypes = unsigned;

// Registers with its Target by filtering the target's drag-and-drop events;
// one drag's data is held from enter until leave or drop. Points are screen
// coordinates. Not owned by, and not owning, the target.
class TDropTarget : public QObject {
public:
    explicit TDropTarget(QObject* owner = nullptr);
    ~TDropTarget() override;

    TDragTypes Dragtypes() const { return dragTypes_; }
    void SetDragtypes(TDragTypes value) { dragTypes_ = value; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    QWidget* Target() const { return target_; }
    void SetTarget(QWidget* value);
    bool GetDataOnEnter() const { return getDataOnEnter_; }
    void SetGetDataOnEnter(bool value) { getDataOnEnter_ = value; }
    // True while the target accepts drops through this component.
    bool Registered() const { return registered_; }

    std::function<void(QObject* Sender, int KeyState, int& Effect)> OnGetDropEffect;

    // The drop-target protocol; the target's drag events arrive here.
    TDropResult DragEnter(const QMimeData* data, int keyState, QPoint point, int& effect);
    TDropResult DragOver(int keyState, QPoint point, int& effect);
    void DragLeave();
    TDropResult Drop(const QMimeData* data, int keyState, QPoint point, int& effect);

protected:
    const QMimeData* DataObject() const { return data_; }
    void ReleaseDataObject() { data_ = nullptr; }

    virtual void GetData() = 0;
    virtual TDropResult DoEnter(int keyState, QPoint point, int& effect) = 0;
    virtual TDropResult DoDragOver(int keyState, QPoint point, int& effect) = 0;
    virtual void DoLeave() = 0;
    virtual TDropResult DoDrop(int keyState, QPoint point, int& effect) = 0;
    virtual int GetValidDropEffect(int keyState);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Register();
    void Unregister();

    const QMimeData* data_ = nullptr;
    TDragTypes dragTypes_ = dtCopy | dtMove | dtLink;
    bool enabled_ = true;
    bool registered_ = false;
    QPointer<QWidget> target_;
    bool getDataOnEnter_ = false;
};

// Accepts lists of local files; Files holds the names of the current drag.
class TDropFileTarget : public TDropTarget {
public:
    explicit TDropFileTarget(QObject* owner = nullptr);

    TStringList& Files() { return files_; }

    std::function<void(QObject* Sender, TStringList& Files)> OnEnter;
    vx::TNotifyEvent OnDragOver;
    vx::TNotifyEvent OnLeave;
    // DropType: 0 copy, 1 move, 2 link.
    std::function<void(QObject* Sender, int DropType, QPoint Point, TStringList& Files)> OnDrop;

protected:
    void GetData() override;
    TDropResult DoEnter(int keyState, QPoint point, int& effect) override;
    TDropResult DoDragOver(int keyState, QPoint point, int& effect) override;
    void DoLeave() override;
    TDropResult DoDrop(int keyState, QPoint point, int& effect) override;

private:
    TStringList files_;
};

// The file names a drag carries: its local files, in order.
TStringList DroppedFiles(const QMimeData& data);
