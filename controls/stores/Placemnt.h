// Window placement and stored properties. A TFormPlacement, a child of a window,
// restores the window's position, size and state when it is shown and saves them
// when it is closed or destroyed, in an INI file or under a registry key.
// TFormStorage also keeps the properties named in StoredProps, and TIniLink lets
// other components keep their settings in the same store at the same moments.
// Main thread only.
#pragma once

#include "controls/common/Events.h"
#include "controls/stores/AppUtils.h"
#include "platform/TStringList.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <Qt>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;
class TCustomIniFile;
class TIniLink;
class TRxWindowHook;

enum TPlacementOption : unsigned { fpState = 1, fpPosition = 2, fpActiveControl = 4 };
using TPlacementOptions = unsigned;

// Size limits of a window, 0 meaning none. The track sizes bound resizing; the
// maximised size and position are kept for the platform, which on this one
// decides them itself.
class TWinMinMaxInfo {
public:
    int MaxPosLeft() const { return v_[0]; }
    int MaxPosTop() const { return v_[1]; }
    int MaxSizeHeight() const { return v_[2]; }
    int MaxSizeWidth() const { return v_[3]; }
    int MaxTrackHeight() const { return v_[4]; }
    int MaxTrackWidth() const { return v_[5]; }
    int MinTrackHeight() const { return v_[6]; }
    int MinTrackWidth() const { return v_[7]; }
    void SetMaxPosLeft(int v) { Set(0, v); }
    void SetMaxPosTop(int v) { Set(1, v); }
    void SetMaxSizeHeight(int v) { Set(2, v); }
    void SetMaxSizeWidth(int v) { Set(3, v); }
    void SetMaxTrackHeight(int v) { Set(4, v); }
    void SetMaxTrackWidth(int v) { Set(5, v); }
    void SetMinTrackHeight(int v) { Set(6, v); }
    void SetMinTrackWidth(int v) { Set(7, v); }
    // All eight 0.
    bool DefaultMinMaxInfo() const;

    std::function<void()> OnChange;

private:
    void Set(int index, int value);
    int v_[8] = {};
};

class TFormPlacement : public QObject {
public:
    // owner is the window (a top-level widget) whose placement is kept.
    explicit TFormPlacement(QWidget* owner);
    ~TFormPlacement() override;

    bool Active() const { return active_; }
    void SetActive(bool value) { active_ = value; }
    // The INI file or registry key; the default when empty.
    std::string IniFileName() const;
    void SetIniFileName(const std::string& value) { iniFileName_ = value; }
    // The section; the owner's default section when empty. One that begins with
    // "\" names a registry key from the root.
    std::string IniSection() const;
    void SetIniSection(const std::string& value) { iniSection_ = value; }
    TWinMinMaxInfo& MinMaxInfo() { return minMaxInfo_; }
    TPlacementOptions Options() const { return options_; }
    void SetOptions(TPlacementOptions value) { options_ = value; }
    // The window can be neither resized nor maximised.
    bool PreventResize() const { return preventResize_; }
    void SetPreventResize(bool value);
    bool UseRegistry() const { return useRegistry_; }
    void SetUseRegistry(bool value) { useRegistry_ = value; }

    vx::TNotifyEvent OnSavePlacement;
    vx::TNotifyEvent OnRestorePlacement;

    // Saves or restores everything now: placement values, links, stored properties.
    // Saving does nothing while Active and nothing has been restored yet.
    void SaveFormPlacement();
    void RestoreFormPlacement();
    // The store open during a save or restore, else null.
    TCustomIniFile* IniObject() const { return ini_.get(); }
    QWidget* Form() const { return form_; }

protected:
    // The placement values alone.
    virtual void SavePlacement();
    virtual void RestorePlacement();
    // The window, also while it is being destroyed (when Form() is already null).
    QWidget* Window() const { return window_; }
    // Stored properties; nothing here.
    virtual void SaveStoredProps() {}
    virtual void RestoreStoredProps() {}

private:
    friend class TIniLink;

    // Opens the store for one save or restore; it closes when the result dies.
    struct TIniSession;
    TIniSession OpenIni();
    void Capture();
    void ApplySizeLimits();
    void FormDestroyed();
    void BeforeMessage(QEvent* event);
    void AfterMessage(QEvent* event);

    // The window; window_ stays readable while the window is being destroyed.
    QWidget* window_;
    QPointer<QWidget> form_;
    TRxWindowHook* hook_;
    std::unique_ptr<TCustomIniFile> ini_;
    std::vector<TIniLink*> links_;
    TWinMinMaxInfo minMaxInfo_;
    bool active_ = true;
    std::string iniFileName_;
    std::string iniSection_;
    mutable std::string defaultSection_;
    TPlacementOptions options_ = fpState | fpPosition;
    bool preventResize_ = false;
    bool useRegistry_ = false;

    bool restored_ = false;
    bool saved_ = false;
    bool destroying_ = false;
    // The window's own limits and frame buttons, put back when ours go.
    QSize designMin_, designMax_;
    Qt::WindowFlags designFlags_;
    // The last placement seen, for saving once the window is being destroyed.
    vx::TWindowPlacement placement_;
    // What the last restore read: the flags and the minimised position have
    // no counterpart on this window system and go back as they came.
    vx::TWindowPlacement stored_;
    std::string activeControl_;
};

class TFormStorage : public TFormPlacement {
public:
    explicit TFormStorage(QWidget* owner);

    // "Component.Property" lines.
    TStringList& StoredProps() { return storedProps_; }

protected:
    void SaveStoredProps() override;
    void RestoreStoredProps() override;

private:
    TStringList storedProps_;
};

// A component's share of a placement's store: it is called back after the
// placement saves and after it restores.
class TIniLink {
public:
    TIniLink() = default;
    ~TIniLink();
    TIniLink(const TIniLink&) = delete;
    TIniLink& operator=(const TIniLink&) = delete;

    TFormPlacement* Storage() const { return storage_; }
    // Moves the link from its old placement to the new one.
    void SetStorage(TFormPlacement* value);
    // The placement's store while it saves or restores, else null.
    TCustomIniFile* IniObject() const;
    // The placement's section followed by "\", or empty without a placement.
    std::string RootSection() const;

    std::function<void()> OnSave;
    std::function<void()> OnLoad;

private:
    friend class TFormPlacement;
    TFormPlacement* storage_ = nullptr;
};
