// Window placement, stored properties and the links to the store.
#include "controls/stores/Placemnt.h"

#include "controls/stores/RXProps.h"
#include "controls/stores/RxHook.h"
#include "platform/IniFile.h"
#include "platform/qt/QtText.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace {

const char* const kVisible = "Visible";
const char* const kActiveControl = "ActiveControl";

} // namespace

bool TWinMinMaxInfo::DefaultMinMaxInfo() const
{
    return std::all_of(std::begin(v_), std::end(v_), [](int v) { return v == 0; });
}

void TWinMinMaxInfo::Set(int index, int value)
{
    if (v_[index] == value)
        return;
    v_[index] = value;
    if (OnChange)
        OnChange();
}

struct TFormPlacement::TIniSession {
    TFormPlacement* owner;
    ~TIniSession() { owner->ini_.reset(); }
};

TFormPlacement::TFormPlacement(QWidget* owner)
    : QObject(owner)
    , window_(owner ? owner->window() : nullptr)
    , form_(window_)
    , hook_(new TRxWindowHook(this))
{
    options_ = owner && owner->isWindow() ? fpState | fpPosition : 0;
    minMaxInfo_.OnChange = [this] { ApplySizeLimits(); };
    if (!window_)
        return;
    designMin_ = window_->minimumSize();
    designMax_ = window_->maximumSize();
    designFlags_ = window_->windowFlags();
    hook_->BeforeMessage = [this](QObject*, QEvent* event, bool&) { BeforeMessage(event); };
    hook_->AfterMessage = [this](QObject*, QEvent* event, bool&) { AfterMessage(event); };
    hook_->SetWinControl(window_);
    // A widget announces its destruction before it deletes its children, so
    // this store, its links and the stored controls are all still there.
    connect(window_, &QObject::destroyed, this, [this] { FormDestroyed(); });
    Capture();
}

TFormPlacement::~TFormPlacement()
{
    for (TIniLink* link : links_)
        link->storage_ = nullptr;
}

std::string TFormPlacement::IniFileName() const
{
    if (!iniFileName_.empty())
        return iniFileName_;
    return useRegistry_ ? vx::GetDefaultIniRegKey() : vx::GetDefaultIniName();
}

std::string TFormPlacement::IniSection() const
{
    if (!iniSection_.empty())
        return iniSection_;
    // A window that is being destroyed no longer knows its class: the name is
    // settled by the first restore, when the window is whole.
    if (defaultSection_.empty() || (!restored_ && !destroying_))
        defaultSection_ = vx::GetDefaultSection(window_);
    return defaultSection_;
}

TFormPlacement::TIniSession TFormPlacement::OpenIni()
{
    if (useRegistry_)
        ini_ = std::make_unique<TRegIniFile>(IniFileName());
    else
        ini_ = std::make_unique<TIniFile>(vx::IniFilePath(IniFileName()));
    return TIniSession{this};
}

void TFormPlacement::Capture()
{
    if (!form_)
        return;
    placement_ = vx::GetWindowPlacement(form_);
    placement_.flags = stored_.flags;
    placement_.minPosition = stored_.minPosition;
    QWidget* focus = form_->focusWidget();
    if (focus && focus != form_ && form_->isAncestorOf(focus))
        activeControl_ = vx::FromQString(focus->objectName());
}

void TFormPlacement::SaveFormPlacement()
{
    if (active_ && !restored_)
        return;
    {
        TIniSession session = OpenIni();
        if (!destroying_)
            Capture();
        SavePlacement();
        for (TIniLink* link : std::vector<TIniLink*>(links_))
            if (link->OnSave)
                link->OnSave();
        SaveStoredProps();
    }
    if (OnSavePlacement)
        OnSavePlacement(this);
    saved_ = true;
}

void TFormPlacement::RestoreFormPlacement()
{
    saved_ = false;
    std::string focusName;
    try {
        TIniSession session = OpenIni();
        RestorePlacement();
        for (TIniLink* link : std::vector<TIniLink*>(links_))
            if (link->OnLoad)
                link->OnLoad();
        try {
            RestoreStoredProps();
        } catch (...) {
            // Stored properties that cannot be applied keep their values.
        }
        if (options_ & fpActiveControl)
            focusName = vx::IniReadString(ini_.get(), IniSection(), kActiveControl, "");
    } catch (const Exception&) {
        // An unreadable store restores nothing; the window keeps its design.
    }
    restored_ = true;
    if (OnRestorePlacement)
        OnRestorePlacement(this);
    if (!focusName.empty() && form_) {
        auto* control = qobject_cast<QWidget*>(vx::FindComponent(form_, focusName));
        if (control && control->isEnabled() && control->focusPolicy() != Qt::NoFocus)
            control->setFocus();
    }
}

void TFormPlacement::SavePlacement()
{
    if (!window_)
        return;
    if (options_ & (fpState | fpPosition)) {
        vx::WritePlacement(ini_.get(), IniSection(), placement_);
        ini_->WriteBool(IniSection(), kVisible, destroying_);
    }
    if ((options_ & fpActiveControl) && !activeControl_.empty())
        vx::IniWriteString(ini_.get(), IniSection(), kActiveControl, activeControl_);
}

void TFormPlacement::RestorePlacement()
{
    if (form_)
        vx::ReadFormPlacement(form_, ini_.get(), IniSection(), options_ & fpState, options_ & fpPosition, &stored_);
}

void TFormPlacement::SetPreventResize(bool value)
{
    if (value == preventResize_)
        return;
    preventResize_ = value;
    ApplySizeLimits();
    if (!form_)
        return;
    bool visible = form_->isVisible();
    if (preventResize_) {
        form_->setWindowFlags((designFlags_ & ~Qt::WindowMaximizeButtonHint) | Qt::CustomizeWindowHint
                              | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                              | Qt::WindowCloseButtonHint);
    } else {
        form_->setWindowFlags(designFlags_);
    }
    // New frame flags hide a window; it comes back as it was.
    if (visible)
        form_->show();
}

void TFormPlacement::ApplySizeLimits()
{
    if (!form_)
        return;
    if (preventResize_) {
        form_->setFixedSize(form_->size());
        return;
    }
    QSize min = designMin_, max = designMax_;
    if (minMaxInfo_.MinTrackWidth())
        min.setWidth(minMaxInfo_.MinTrackWidth());
    if (minMaxInfo_.MinTrackHeight())
        min.setHeight(minMaxInfo_.MinTrackHeight());
    if (minMaxInfo_.MaxTrackWidth())
        max.setWidth(minMaxInfo_.MaxTrackWidth());
    if (minMaxInfo_.MaxTrackHeight())
        max.setHeight(minMaxInfo_.MaxTrackHeight());
    form_->setMinimumSize(min);
    form_->setMaximumSize(max);
}

void TFormPlacement::BeforeMessage(QEvent* event)
{
    if (event->type() == QEvent::Show && !event->spontaneous() && active_)
        RestoreFormPlacement();
}

void TFormPlacement::AfterMessage(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
    case QEvent::Hide:
    case QEvent::FocusIn:
        if (!destroying_)
            Capture();
        break;
    case QEvent::Close:
        // The window's own close handler has run: save only when it let the window close.
        if (event->isAccepted() && active_)
            SaveFormPlacement();
        break;
    default:
        break;
    }
}

void TFormPlacement::FormDestroyed()
{
    destroying_ = true;
    if (!active_ || saved_)
        return;
    try {
        SaveFormPlacement();
    } catch (...) {
        // Nothing can be shown while the window goes; the store keeps its last state.
    }
}

TFormStorage::TFormStorage(QWidget* owner)
    : TFormPlacement(owner)
{
}

void TFormStorage::SaveStoredProps()
{
    vx::TPropsStorage(Window(), IniObject(), IniSection()).StoreObjectsProps(storedProps_);
}

void TFormStorage::RestoreStoredProps()
{
    vx::TPropsStorage(Window(), IniObject(), IniSection()).LoadObjectsProps(storedProps_);
}

TIniLink::~TIniLink()
{
    SetStorage(nullptr);
}

void TIniLink::SetStorage(TFormPlacement* value)
{
    if (value == storage_)
        return;
    if (storage_)
        std::erase(storage_->links_, this);
    storage_ = value;
    if (storage_)
        storage_->links_.push_back(this);
}

TCustomIniFile* TIniLink::IniObject() const
{
    return storage_ ? storage_->IniObject() : nullptr;
}

std::string TIniLink::RootSection() const
{
    if (!storage_)
        return {};
    std::string section = storage_->IniSection();
    return section.empty() ? section : section + "\\";
}
