// The recent-files manager: a bounded list of names, most recent first, shown as
// numbered items of a menu and kept in a window's placement store. Names are
// compared case-sensitively, as file names on this platform are. Main thread only.
#pragma once

#include "controls/common/Events.h"
#include "controls/stores/Placemnt.h"
#include "platform/TStringList.h"

#include <QKeySequence>
#include <QMenu>
#include <QObject>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class TCustomIniFile;

enum TRecentMode { rmInsert, rmAppend };
enum TAccelDelimiter { adTab, adSpace };

// A list that moves a name added again to its front (rmInsert) or end
// (rmAppend) and trims itself to MaxSize names.
class TRecentStrings : public TStringList {
public:
    TRecentStrings();

    int MaxSize() const { return maxSize_; }
    // At least 1; trims at once.
    void SetMaxSize(int value);
    TRecentMode Mode() const { return mode_; }
    void SetMode(TRecentMode value) { mode_ = value; }

    // Answers where the name now stands: 0 (rmInsert) or Count - 1 (rmAppend).
    int Add(const std::string& s) override;
    // At most MaxSize names of the other list, keeping its order at the front
    // (rmInsert) or the end (rmAppend).
    void AddStrings(const TStringList& strings) override;
    void Remove(const std::string& s);

private:
    void DeleteExceed();

    int maxSize_ = 10;
    TRecentMode mode_ = rmInsert;
};

class TMRUManager : public QObject {
public:
    using TClickMenuEvent = std::function<void(QObject* Sender, const std::string& RecentName,
                                               const std::string& Caption, TObjectSlot UserData)>;
    using TGetItemEvent =
        std::function<void(QObject* Sender, std::string& Caption, QKeySequence& ShortCut, TObjectSlot UserData)>;
    using TReadItemEvent = std::function<void(QObject* Sender, TCustomIniFile* IniFile, const std::string& Section,
                                              int Index, std::string& RecentName, TObjectSlot& UserData)>;
    using TWriteItemEvent = std::function<void(QObject* Sender, TCustomIniFile* IniFile, const std::string& Section,
                                               int Index, const std::string& RecentName, TObjectSlot UserData)>;

    explicit TMRUManager(QObject* owner = nullptr);
    ~TMRUManager() override;

    TAccelDelimiter AccelDelimiter() const { return accelDelimiter_; }
    void SetAccelDelimiter(TAccelDelimiter value);
    bool AutoEnable() const { return autoEnable_; }
    void SetAutoEnable(bool value);
    bool AutoUpdate() const { return autoUpdate_; }
    void SetAutoUpdate(bool value) { autoUpdate_ = value; }
    int Capacity() const { return list_.MaxSize(); }
    void SetCapacity(int value) { list_.SetMaxSize(value); }
    TRecentMode Mode() const { return list_.Mode(); }
    void SetMode(TRecentMode value) { list_.SetMode(value); }
    bool RemoveOnSelect() const { return removeOnSelect_; }
    void SetRemoveOnSelect(bool value) { removeOnSelect_ = value; }
    TFormPlacement* IniStorage() const { return link_.Storage(); }
    void SetIniStorage(TFormPlacement* value) { link_.SetStorage(value); }
    int SeparateSize() const { return separateSize_; }
    void SetSeparateSize(int value);
    // The submenu that shows the list; forgotten when it is destroyed.
    QMenu* RecentMenu() const { return menu_; }
    void SetRecentMenu(QMenu* value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    int StartAccel() const { return startAccel_; }
    void SetStartAccel(int value);

    vx::TNotifyEvent OnChange;
    TClickMenuEvent OnClick;
    TGetItemEvent OnGetItemData;
    TReadItemEvent OnReadItem;
    TWriteItemEvent OnWriteItem;

    void Add(const std::string& recentName, TObjectSlot userData);
    void Remove(const std::string& recentName);
    TRecentStrings& Strings() { return list_; }

    void UpdateRecentMenu();
    // Values "Item_0", "Item_1", ... of the section, Item_0 the most recent.
    void LoadFromIni(TCustomIniFile* ini, const std::string& section);
    void SaveToIni(TCustomIniFile* ini, const std::string& section);

private:
    std::string StoreSection(bool refresh);
    void ListChanged();
    void ClearRecentMenu();
    void UpdateEnabled();
    void ItemClicked(QAction* item);
    void RebuildWhenAutomatic();

    TRecentStrings list_;
    TIniLink link_;
    std::string defaultSection_;
    QPointer<QMenu> menu_;
    std::vector<QPointer<QAction>> items_;
    TAccelDelimiter accelDelimiter_ = adTab;
    bool autoEnable_ = true;
    bool autoUpdate_ = true;
    bool removeOnSelect_ = false;
    int separateSize_ = 0;
    bool showAccelChar_ = true;
    int startAccel_ = 1;
};

// The accelerator of item number n: "&1" to "&9", "&A" to "&Z" for 10 to 35,
// and a blank (no accelerator) for any other number.
std::string RecentAccelerator(int n);
