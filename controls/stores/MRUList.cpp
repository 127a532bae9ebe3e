// Recent names: the self-trimming list, its menu and its storage.
#include "controls/stores/MRUList.h"

#include "platform/qt/Application.h"
#include "platform/qt/QtText.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

TRecentStrings::TRecentStrings()
{
    SetCaseSensitive(true);
}

void TRecentStrings::SetMaxSize(int value)
{
    value = std::max(value, 1);
    if (value == maxSize_)
        return;
    maxSize_ = value;
    DeleteExceed();
}

void TRecentStrings::DeleteExceed()
{
    BeginUpdate();
    while (Count() > maxSize_)
        Delete(mode_ == rmInsert ? Count() - 1 : 0);
    EndUpdate();
}

int TRecentStrings::Add(const std::string& s)
{
    int index = IndexOf(s);
    int target = mode_ == rmInsert ? 0 : Count() - 1;
    if (index >= 0) {
        Move(index, target);
        return target;
    }
    if (mode_ == rmInsert)
        Insert(0, s);
    else
        TStringList::Add(s);
    DeleteExceed();
    return mode_ == rmInsert ? 0 : Count() - 1;
}

void TRecentStrings::AddStrings(const TStringList& strings)
{
    BeginUpdate();
    try {
        TStringList source(strings);
        int n = std::min(source.Count(), maxSize_);
        if (mode_ == rmInsert) {
            for (int i = n - 1; i >= 0; --i)
                AddObject(source[i], source.Objects(i));
        } else {
            for (int i = 0; i < n; ++i)
                AddObject(source[i], source.Objects(i));
        }
        DeleteExceed();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TRecentStrings::Remove(const std::string& s)
{
    int index = IndexOf(s);
    if (index >= 0)
        Delete(index);
}

std::string RecentAccelerator(int n)
{
    if (n >= 0 && n <= 9)
        return "&" + std::string(1, static_cast<char>('0' + n));
    if (n >= 10 && n <= 35)
        return "&" + std::string(1, static_cast<char>('A' + n - 10));
    return " ";
}

TMRUManager::TMRUManager(QObject* owner)
    : QObject(owner)
{
    list_.OnChange = [this](TStringList*) { ListChanged(); };
    link_.OnSave = [this] { SaveToIni(link_.IniObject(), StoreSection(false)); };
    link_.OnLoad = [this] { LoadFromIni(link_.IniObject(), StoreSection(true)); };
}

TMRUManager::~TMRUManager()
{
    list_.OnChange = nullptr;
    ClearRecentMenu();
}

std::string TMRUManager::StoreSection(bool refresh)
{
    // Saving may happen while the window is being destroyed and no longer knows
    // its class: the name found when loading is kept for it.
    if (refresh || defaultSection_.empty())
        defaultSection_ = vx::GetDefaultSection(this);
    return link_.RootSection() + defaultSection_;
}

void TMRUManager::Add(const std::string& recentName, TObjectSlot userData)
{
    list_.AddObject(recentName, userData);
}

void TMRUManager::Remove(const std::string& recentName)
{
    list_.Remove(recentName);
}

void TMRUManager::ListChanged()
{
    if (OnChange)
        OnChange(this);
    if (autoUpdate_)
        UpdateRecentMenu();
}

void TMRUManager::RebuildWhenAutomatic()
{
    if (autoUpdate_)
        UpdateRecentMenu();
}

void TMRUManager::SetAccelDelimiter(TAccelDelimiter value)
{
    if (value == accelDelimiter_)
        return;
    accelDelimiter_ = value;
    if (showAccelChar_)
        RebuildWhenAutomatic();
}

void TMRUManager::SetAutoEnable(bool value)
{
    if (value == autoEnable_)
        return;
    autoEnable_ = value;
    if (autoEnable_)
        UpdateEnabled();
}

void TMRUManager::SetSeparateSize(int value)
{
    if (value == separateSize_)
        return;
    separateSize_ = value;
    RebuildWhenAutomatic();
}

void TMRUManager::SetShowAccelChar(bool value)
{
    if (value == showAccelChar_)
        return;
    showAccelChar_ = value;
    RebuildWhenAutomatic();
}

void TMRUManager::SetStartAccel(int value)
{
    if (value == startAccel_)
        return;
    startAccel_ = value;
    RebuildWhenAutomatic();
}

void TMRUManager::SetRecentMenu(QMenu* value)
{
    if (value == menu_)
        return;
    ClearRecentMenu();
    menu_ = value;
    UpdateRecentMenu();
}

void TMRUManager::ClearRecentMenu()
{
    for (QPointer<QAction>& item : items_) {
        if (!item)
            continue;
        if (menu_)
            menu_->removeAction(item);
        // The item may be the one whose click is being handled.
        item->deleteLater();
    }
    items_.clear();
}

void TMRUManager::UpdateEnabled()
{
    if (menu_) {
        bool hasItems = !menu_->actions().isEmpty();
        menu_->setEnabled(hasItems);
        menu_->menuAction()->setEnabled(hasItems);
    }
}

void TMRUManager::UpdateRecentMenu()
{
    if (!menu_)
        return;
    ClearRecentMenu();
    if (!list_.Empty() && !menu_->actions().isEmpty())
        items_.emplace_back(menu_->addSeparator());
    const std::string delimiter = accelDelimiter_ == adTab ? "\t" : " ";
    for (int i = 0; i < list_.Count(); ++i) {
        if (separateSize_ > 0 && i > 0 && i % separateSize_ == 0)
            items_.emplace_back(menu_->addSeparator());
        std::string text = list_[i];
        QKeySequence shortCut;
        if (OnGetItemData)
            OnGetItemData(this, text, shortCut, list_.Objects(i));
        // "short|long": the caption, then the hint.
        size_t bar = text.find('|');
        std::string caption = text.substr(0, bar);
        if (showAccelChar_)
            caption = RecentAccelerator(startAccel_ + i) + delimiter + caption;
        // The recent names are file names: shown as the system names files.
        QAction* item = menu_->addAction(vx::ToQPath(caption));
        if (bar != std::string::npos)
            item->setStatusTip(vx::ToQString(text.substr(bar + 1)));
        item->setShortcut(shortCut);
        item->setData(i);
        connect(item, &QAction::triggered, this, [this, item] { ItemClicked(item); });
        items_.emplace_back(item);
    }
    if (autoEnable_)
        UpdateEnabled();
}

void TMRUManager::ItemClicked(QAction* item)
{
    bool valid = false;
    int index = item->data().toInt(&valid);
    if (!valid || index < 0 || index >= list_.Count())
        return;
    std::string name = list_[index];
    if (OnClick) {
        // A copy: the handler may change the manager. A failing handler is shown
        // and the name still leaves the list when it should.
        TClickMenuEvent handler = OnClick;
        std::string caption = vx::FromQPath(item->text());
        TObjectSlot data = list_.Objects(index);
        vx::DeliverShowingExceptions([&] {
            handler(this, name, caption, data);
            return true;
        });
    }
    if (removeOnSelect_)
        Remove(name);
}

void TMRUManager::SaveToIni(TCustomIniFile* ini, const std::string& section)
{
    if (!ini)
        return;
    vx::IniEraseSection(ini, section);
    for (int i = 0; i < list_.Count(); ++i) {
        if (OnWriteItem)
            OnWriteItem(this, ini, section, i, list_[i], list_.Objects(i));
        else
            vx::IniWriteString(ini, section, "Item_" + std::to_string(i), list_[i]);
    }
}

void TMRUManager::LoadFromIni(TCustomIniFile* ini, const std::string& section)
{
    if (!ini)
        return;
    TRecentMode mode = list_.Mode();
    list_.BeginUpdate();
    try {
        list_.Clear();
        list_.SetMode(rmInsert);
        for (int i = list_.MaxSize() - 1; i >= 0; --i) {
            std::string name;
            TObjectSlot userData = 0;
            if (OnReadItem)
                OnReadItem(this, ini, section, i, name, userData);
            else
                name = vx::IniReadString(ini, section, "Item_" + std::to_string(i), "");
            if (!name.empty())
                list_.AddObject(name, userData);
        }
    } catch (...) {
        list_.SetMode(mode);
        list_.EndUpdate();
        throw;
    }
    list_.SetMode(mode);
    list_.EndUpdate();
}
