// The speed bar's layout in the placement store: its edge, thickness and the shown buttons.
#include "controls/speedbar/SpeedBar.h"

#include "controls/stores/AppUtils.h"
#include "controls/common/StrUtils.h"
#include "platform/TStringList.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <vector>

namespace {

int ScreenPixelsPerInch()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
}

// A whole number, or def for anything else.
int WordToInt(const std::string& word, int def)
{
    if (word.empty())
        return def;
    std::size_t used = 0;
    try {
        const int value = std::stoi(word, &used);
        return used == word.size() ? value : def;
    } catch (const std::exception&) {
        return def;
    }
}

} // namespace

void TSpeedBar::SaveLayout(TCustomIniFile* ini, const std::string& section)
{
    vx::IniEraseSection(ini, section);
    vx::IniWriteInteger(ini, section, "Position", int(align_));
    if (align_ == alTop || align_ == alBottom)
        vx::IniWriteInteger(ini, section, "Width", height());
    else if (align_ == alLeft || align_ == alRight)
        vx::IniWriteInteger(ini, section, "Width", width());
    vx::IniWriteInteger(ini, section, "Version", version_);
    vx::IniWriteInteger(ini, section, "PixelsPerInch", ScreenPixelsPerInch());
    vx::IniWriteInteger(ini, section, "BtnWidth", BtnWidth());
    vx::IniWriteInteger(ini, section, "BtnHeight", BtnHeight());
    int count = 0;
    ForEachLiveItem([&](TSpeedItem* item) {
        if (!item->Visible() || !item->Stored())
            return;
        ++count;
        vx::IniWriteString(ini, section, "Button" + std::to_string(count),
                           item->Name() + "," + std::to_string(item->Left()) + "," + std::to_string(item->Top()));
    });
    vx::IniWriteInteger(ini, section, "Count", count);
    SaveStoredValues(ini, section);
}

void TSpeedBar::SaveStoredValues(TCustomIniFile* ini, const std::string& section)
{
    vx::IniWriteInteger(ini, section, "InternalVer", 1);
    ForEachLiveItem([&](TSpeedItem* item) {
        if (!item->Name().empty() && item->SectionIndex() >= 0)
            vx::IniWriteString(ini, section, item->Name() + ".SectionName", Sections(item->SectionIndex())->Caption());
    });
}

void TSpeedBar::RestoreStoredValues(TCustomIniFile* ini, const std::string& section)
{
    TStringList captions;
    captions.SetCommaText(vx::IniReadString(ini, section, "Sections", ""));
    for (int i = 0; i < captions.Count(); ++i)
        if (SearchSection(captions[i]) < 0)
            AppendSection(captions[i]);
    newStyle_ = vx::IniReadInteger(ini, section, "NewStyle", newStyle_) != 0;
    internalVer_ = vx::IniReadInteger(ini, section, "InternalVer", 0);
    const int allowDrag = vx::IniReadInteger(ini, section, "AllowDrag", -1);
    if (allowDrag >= 0)
        SetOptions(allowDrag ? options_ | sbAllowDrag : options_ & ~sbAllowDrag);
    // Moving an item changes the lists being walked, so gather them first.
    std::vector<TSpeedItem*> items;
    ForEachLiveItem([&](TSpeedItem* item) { items.push_back(item); });
    for (TSpeedItem* item : items) {
        if (item->Name().empty())
            continue;
        int index = vx::IniReadInteger(ini, section, item->Name() + ".Section", item->SectionIndex());
        const std::string name = vx::IniReadString(ini, section, item->Name() + ".SectionName", "");
        if (!name.empty())
            index = SearchSection(name);
        index = std::max(index, 0);
        if (index != item->SectionIndex() && index < SectionCount())
            item->SetSectionIndex(index);
    }
}

void TSpeedBar::RestoreLayout(TCustomIniFile* ini, const std::string& section)
{
    RestoreStoredValues(ini, section);
    const TAlign before = align_;
    if (vx::IniReadInteger(ini, section, "Version", version_) < version_)
        return;
    if (options_ & sbAllowDrag) {
        const int stored = vx::IniReadInteger(ini, section, "Position", int(align_));
        // An edge the bar refuses, such as alNone from a layout older than the
        // format version, puts the bar at the top.
        try {
            if (stored < alNone || stored > alClient)
                throw ESpeedbarError("Cannot set this property value while Position is bpAuto");
            SetAlign(TAlign(stored));
        } catch (const ESpeedbarError&) {
            SetAlign(alTop);
        }
    }
    auto positionCheck = [&] {
        if (align_ != before && OnPosChanged)
            OnPosChanged(this);
    };
    const int formPpi = window() && window()->isWindow() ? window()->logicalDpiY() : 0;
    if (vx::IniReadInteger(ini, section, "PixelsPerInch", formPpi) != ScreenPixelsPerInch()) {
        positionCheck();
        return;
    }
    if (options_ & sbAllowResize) {
        if (align_ == alTop || align_ == alBottom)
            SetThickness(vx::IniReadInteger(ini, section, "Width", height()));
        else if (align_ == alLeft || align_ == alRight)
            SetThickness(vx::IniReadInteger(ini, section, "Width", width()));
        FitToParent();
    }
    positionCheck();
    const int count = vx::IniReadInteger(ini, section, "Count", 0);
    if (count > 0) {
        ForEachLiveItem([](TSpeedItem* item) { item->SetVisible(false); });
        for (int i = 1; i <= count; ++i) {
            const std::string entry = vx::IniReadString(ini, section, "Button" + std::to_string(i), "");
            if (entry.empty())
                continue;
            TSpeedItem* item = FindItemByName(vx::ExtractWord(1, entry, " ,"));
            if (!item)
                continue;
            const int left = WordToInt(vx::ExtractWord(2, entry, " ,"), item->Left());
            const int top = WordToInt(vx::ExtractWord(3, entry, " ,"), item->Top());
            item->Button()->move(std::max(left, BtnOffsetHorz()), std::max(top, BtnOffsetVert()));
            item->SetVisible(true);
        }
    }
    repaint();
}
