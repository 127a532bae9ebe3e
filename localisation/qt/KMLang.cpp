// Translation of the program's windows from language files.
#include "localisation/qt/KMLang.h"

#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLangAdapters.h"
#include "localisation/qt/QtTranslations.h"
#include "localisation/qt/RunTimeTexts.h"
#include "platform/AnsiText.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

const TRunTimeText NoSuchFile{"No such language file \"%1\""};

const char* const kDefaultRules[] = {"+Caption", "+DisplayLabel", "+Hint", "+Text", "+Header",
                                     "+ReportTitle", "+Items", "+Lines", "+Values", "+Hints"};

std::string noSuchFile(const std::string& path)
{
    return NoSuchFile({path});
}

// The hourglass for the duration of a file operation.
class HourGlass {
public:
    HourGlass()
    {
        if (qGuiApp)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~HourGlass()
    {
        if (qGuiApp)
            QGuiApplication::restoreOverrideCursor();
    }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;
};

bool hasOwnTranslator(const QObject* object)
{
    return !object->findChildren<TKMLang*>(Qt::FindDirectChildrenOnly).isEmpty();
}

// The named objects of a window, depth first in creation order; objects of
// another translated window and Qt's own internal objects are left out.
void collectComponents(QObject* object, std::vector<QObject*>& out)
{
    for (QObject* child : object->children()) {
        if (qobject_cast<TKMLang*>(child) || (child->isWidgetType() && hasOwnTranslator(child)))
            continue;
        const QString name = child->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            out.push_back(child);
        if (!TransHidesChildren(child))
            collectComponents(child, out);
    }
}

// The name a component of the class gets when it was built without one:
// the class name the rules use, without its leading T.
QString namePrefix(const QObject* object)
{
    const std::string cls = TransClassName(object);
    return vx::ToQString(cls.size() > 1 && cls[0] == 'T' ? cls.substr(1) : cls);
}

bool carriesText(const QObject* object)
{
    if (auto* label = qobject_cast<const QLabel*>(object))
        return HasTranslatableChars(vx::FromQString(label->text()));
    if (auto* button = qobject_cast<const QAbstractButton*>(object))
        return HasTranslatableChars(vx::FromQString(button->text()));
    if (auto* group = qobject_cast<const QGroupBox*>(object))
        return HasTranslatableChars(vx::FromQString(group->title()));
    if (auto* menu = qobject_cast<const QMenu*>(object))
        return HasTranslatableChars(vx::FromQString(menu->title()));
    // A menu's own action carries the menu's title, which the menu has already.
    if (auto* action = qobject_cast<const QAction*>(object))
        return !action->isSeparator() && !action->menu() && HasTranslatableChars(vx::FromQString(action->text()));
    return false;
}

void textComponents(QObject* object, std::vector<QObject*>& out)
{
    for (QObject* child : object->children()) {
        if (qobject_cast<TKMLang*>(child) || (child->isWidgetType() && hasOwnTranslator(child)))
            continue;
        // The panels and items that belong to their owner keep no names.
        if (TransHidesChildren(child) || qobject_cast<QStatusBar*>(child)) {
            out.push_back(child);
            continue;
        }
        // Qt's own parts (a tab widget's page stack, a scroll area's view)
        // hold the window's components but are none themselves.
        if (!child->objectName().startsWith(QLatin1String("qt_")))
            out.push_back(child);
        textComponents(child, out);
    }
}

// Every component carrying a text gets a name, as every component of a
// window has one: label, button, group box, menu or menu item plus a number that no
// other component of the window uses, in creation order.
void nameTextComponents(QObject* owner)
{
    std::vector<QObject*> all;
    textComponents(owner, all);
    std::set<QString> used;
    for (const QObject* object : all)
        if (!object->objectName().isEmpty())
            used.insert(object->objectName().toLower());
    std::map<QString, int> next;
    for (QObject* object : all) {
        if (!object->objectName().isEmpty() || !carriesText(object))
            continue;
        const QString prefix = namePrefix(object);
        QString name;
        do
            name = prefix + QString::number(++next[prefix]);
        while (used.count(name.toLower()));
        used.insert(name.toLower());
        object->setObjectName(name);
    }
}

std::string lastElement(std::string_view path)
{
    size_t dot = path.rfind('.');
    return std::string(dot == std::string_view::npos ? path : path.substr(dot + 1));
}

QFont fontOf(const TkFontItem& item, QFont font)
{
    font.setFamily(vx::ToQString(item.Name));
    if (item.Size > 0)
        font.setPointSize(item.Size);
    font.setBold(item.Style & 1);
    font.setItalic(item.Style & 2);
    font.setUnderline(item.Style & 4);
    font.setStrikeOut(item.Style & 8);
    return font;
}

std::uint8_t styleOf(const QFont& font)
{
    return static_cast<std::uint8_t>((font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
                                     (font.strikeOut() ? 8 : 0));
}

std::uint32_t readU32(std::string_view data, size_t& pos)
{
    if (data.size() - pos < 4)
        throw EKMLangError("Stored language data is damaged");
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(data[pos + static_cast<size_t>(i)]);
    pos += 4;
    return v;
}

void writeU32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i, v >>= 8)
        out += static_cast<char>(v & 0xFF);
}

} // namespace

// ---------------------------------------------------------------- TKAppLanguage

TKAppLanguage& TKAppLanguage::Instance()
{
    static TKAppLanguage instance;
    return instance;
}

TKAppLanguage::TKAppLanguage()
{
    for (const char* rule : kDefaultRules)
        scanRules_.Add(rule);
    effectiveDir_ = vx::ProgramFolder() + "/";
    SetRunTimeLookup(&Tr);
}

void TKAppLanguage::Initialize()
{
    if (!initialized_) {
        initialized_ = true;
        TStringList rules;
        for (const char* rule : kDefaultRules)
            rules.Add(rule);
        rules.Add("+SQL");
        SetScanRules(rules);
    }
    RebuildLanguageList();
}

void TKAppLanguage::SetLangDir(const std::string& dir)
{
    if (dir == langDir_)
        return;
    langDir_ = dir;
    effectiveDir_ = dir.empty() ? vx::ProgramFolder() : vx::ProgramPath(dir);
    if (effectiveDir_.empty() || effectiveDir_.back() != '/')
        effectiveDir_ += '/';
    RebuildLanguageList();
    OpenCurrentLanguage();
}

void TKAppLanguage::SetScanRules(const TStringList& rules)
{
    scanRules_.Assign(rules);
}

bool TKAppLanguage::IsNativeName(std::string_view name)
{
    return SameText(name, "Native");
}

bool TKAppLanguage::IsNativeCurrent() const
{
    return IsNativeName(current_);
}

std::string TKAppLanguage::LangFilePath(const std::string& name) const
{
    std::string file = name;
    if (vx::AnsiLowerCase(name).find(".lng") == std::string::npos)
        file += ".lng";
    const std::string exact = effectiveDir_ + file;
    if (vx::FileExists(exact))
        return exact;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(effectiveDir_, ec)) {
        const std::string found = entry.path().filename().string();
        if (SameText(found, file))
            return effectiveDir_ + found;
    }
    return exact;
}

std::unique_ptr<TKLangFile> TKAppLanguage::loadLanguage(const std::string& name, bool mustExist) const
{
    HourGlass wait;
    auto file = std::make_unique<TKLangFile>();
    auto stored = storedData_.find(vx::AnsiLowerCase(name));
    if (stored != storedData_.end() && !stored->second.empty()) {
        file->LoadFromBytes(stored->second);
        return file;
    }
    const std::string path = LangFilePath(name);
    if (mustExist && !vx::FileExists(path))
        throw EKMLangError(noSuchFile(path));
    file->SetFileName(path);
    return file;
}

void TKAppLanguage::useFile(std::unique_ptr<TKLangFile> file)
{
    if (file->HasLocale()) {
        if (!localeApplied_) {
            builtInLocale_ = vx::FormatSettings();
            localeApplied_ = true;
        }
        file->ApplyLocale();
    } else if (localeApplied_) {
        vx::FormatSettings() = builtInLocale_;
        localeApplied_ = false;
    }
    file_ = std::move(file);
}

void TKAppLanguage::OpenCurrentLanguage()
{
    file_.reset();
    try {
        useFile(loadLanguage(current_, false));
    } catch (...) {
        file_ = std::make_unique<TKLangFile>();
        throw;
    }
}

TKLangFile& TKAppLanguage::CurrentFile()
{
    if (!file_)
        OpenCurrentLanguage();
    return *file_;
}

void TKAppLanguage::SetLanguage(const std::string& name)
{
    std::unique_ptr<TKLangFile> file = loadLanguage(name, !IsNativeName(name));
    previous_ = current_;
    current_ = name;
    useFile(std::move(file));
    UseQtTranslations(name);
    const std::vector<TKMLang*> windows = live_;
    for (TKMLang* component : windows)
        component->Translate();
}

void TKAppLanguage::RebuildLanguageList()
{
    TKLangFile::ListLanguageFiles(effectiveDir_, languages_);
    for (int i = stored_.Count() - 1; i >= 0; --i)
        if (languages_.IndexOf(stored_[i]) < 0)
            languages_.Insert(0, stored_[i]);
}

void TKAppLanguage::SetStoredLanguages(const TStringList& names)
{
    TStringList checked;
    for (int i = 0; i < names.Count(); ++i) {
        const std::string name = vx::Trim(names[i]);
        if (name.empty())
            continue;
        const std::string path = LangFilePath(name);
        if (!vx::FileExists(path))
            throw EKMLangError(noSuchFile(path));
        checked.Add(name);
    }
    stored_.Assign(checked);
    storedData_.clear();
}

std::string TKAppLanguage::StoredLangsData() const
{
    std::string out;
    writeU32(out, static_cast<std::uint32_t>(stored_.Count()));
    for (int i = 0; i < stored_.Count(); ++i) {
        const std::string name = stored_[i].substr(0, 255);
        std::string bytes;
        const std::string path = LangFilePath(stored_[i]);
        try {
            bytes = vx::ReadWholeFile(path);
        } catch (const Exception&) {
            // The entry keeps its name and no data: that language reads as empty.
            MessageDlg(noSuchFile(path), mtError, mbOK);
        }
        out += static_cast<char>(name.size());
        out += name;
        writeU32(out, static_cast<std::uint32_t>(bytes.size()));
        out += bytes;
    }
    return out;
}

void TKAppLanguage::SetStoredLangsData(std::string_view data)
{
    size_t pos = 0;
    const std::uint32_t count = readU32(data, pos);
    TStringList names;
    std::map<std::string, std::string> files;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (pos >= data.size() || data.size() - pos - 1 < static_cast<std::uint8_t>(data[pos]))
            throw EKMLangError("Stored language data is damaged");
        const size_t length = static_cast<std::uint8_t>(data[pos++]);
        std::string name(data.substr(pos, length));
        pos += length;
        const std::uint32_t size = readU32(data, pos);
        if (size > data.size() - pos)
            throw EKMLangError("Stored language data is damaged");
        files[vx::AnsiLowerCase(name)] = std::string(data.substr(pos, size));
        pos += size;
        names.Add(name);
    }
    stored_.Assign(names);
    storedData_ = std::move(files);
    RebuildLanguageList();
}

void TKAppLanguage::add(TKMLang* component)
{
    live_.push_back(component);
}

void TKAppLanguage::remove(TKMLang* component)
{
    live_.erase(std::remove(live_.begin(), live_.end(), component), live_.end());
    if (live_.empty())
        file_.reset();
}

void SetLanguage(const std::string& name)
{
    TKAppLanguage::Instance().SetLanguage(name);
}

std::string LangFilePath(const std::string& name)
{
    return TKAppLanguage::Instance().LangFilePath(name);
}

TKMLang* TranslateWindow(QWidget* window)
{
    auto* lang = new TKMLang(window); // owned by the window
    lang->setObjectName(QStringLiteral("KMLang1"));
    lang->Loaded();
    return lang;
}

TKMLang* TranslateWindow(QWidget* window, std::function<void()> ownTexts)
{
    TKMLang* lang = TranslateWindow(window);
    ownTexts();
    lang->AfterTrans = [ownTexts = std::move(ownTexts)](const std::string&) { ownTexts(); };
    return lang;
}

// ---------------------------------------------------------------- TKMLang

struct TKMLang::Walk {
    Mode mode = Mode::Apply;
    TKLangFile* file = nullptr;       // apply: the texts; none under "Native"
    std::uint8_t biDiMode = 0;        // apply
    TkLangFileEdit* edit = nullptr;   // collect
    bool mayAdd = false;              // collect
    std::string section;
    QWidget* font = nullptr;          // the current font object
    std::string fontPath;
    std::uint16_t fontNo = 0;         // collect
    // The component being walked: two components of one name (a menu item
    // and its tool button) keep their built-in texts apart.
    const QObject* component = nullptr;
};

TKMLang::TKMLang(QWidget* owner) : QObject(owner), owner_(owner)
{
    TKAppLanguage::Instance().add(this);
    rebuildRules();
}

TKMLang::~TKMLang()
{
    TKAppLanguage::Instance().remove(this);
}

std::string TKMLang::LangDir() const
{
    return TKAppLanguage::Instance().LangDir();
}

void TKMLang::SetLangDir(const std::string& dir)
{
    TKAppLanguage::Instance().SetLangDir(dir);
}

std::string TKMLang::LangFileName() const
{
    return TKAppLanguage::Instance().CurrentLanguage();
}

void TKMLang::SetLangFileName(const std::string& name)
{
    TKAppLanguage::Instance().SetLanguage(name);
}

void TKMLang::SetLocalRules(const TStringList& rules)
{
    localRules_.Assign(rules);
    rebuildRules();
}

const TStringList& TKMLang::GlobalRules() const
{
    return TKAppLanguage::Instance().ScanRules();
}

void TKMLang::SetGlobalRules(const TStringList& rules)
{
    TKAppLanguage::Instance().SetScanRules(rules);
    rebuildRules();
}

const TStringList& TKMLang::StoredLangs() const
{
    return TKAppLanguage::Instance().StoredLanguages();
}

std::string TKMLang::OwnerName() const
{
    if (!ownerName_.empty() || !owner_)
        return ownerName_;
    return vx::FromQString(owner_->objectName());
}

void TKMLang::SetOwnerName(const std::string& name)
{
    ownerName_ = name;
}

void TKMLang::rebuildRules()
{
    rules_.clear();
    const TStringList& global = GlobalRules();
    for (int i = localRules_.Count() - 1; i >= 0; --i)
        rules_.push_back(vx::AnsiLowerCase(localRules_[i]));
    for (int i = global.Count() - 1; i >= 0; --i)
        rules_.push_back(vx::AnsiLowerCase(global[i]));
}

bool TKMLang::PropAllowed(std::string_view className, std::string_view path, std::string_view prop) const
{
    auto has = [this](const std::string& rule) {
        return std::find(rules_.begin(), rules_.end(), vx::AnsiLowerCase(rule)) != rules_.end();
    };
    const std::string cls(className), component = lastElement(path), name(prop);
    if (has("-" + cls) || has("-" + component) || has("-" + component + "." + name))
        return false;
    return (has("+" + name) || has("+" + cls + "." + name)) && !has("-" + cls + "." + name);
}

void TKMLang::Loaded()
{
    if (!TKAppLanguage::Instance().IsNativeCurrent())
        Translate();
}

void TKMLang::Translate()
{
    const std::string language = TKAppLanguage::Instance().CurrentLanguage();
    if (BeforeTrans)
        BeforeTrans(language);
    Walk w;
    w.mode = Mode::Apply;
    TKLangFile& file = TKAppLanguage::Instance().CurrentFile();
    w.biDiMode = file.BiDiMode();
    w.file = TKAppLanguage::Instance().IsNativeCurrent() ? nullptr : &file;
    walk(w);
    if (AfterTrans)
        AfterTrans(language);
}

void TKMLang::CollectInto(TkLangFileEdit& file)
{
    rebuildRules();
    const bool native = TKAppLanguage::Instance().IsNativeCurrent();
    Walk w;
    w.mode = Mode::Collect;
    w.edit = &file;
    w.mayAdd = native;
    walk(w);
    if (!native)
        throw EKMLangError("Can not save form while current language is not native");
}

void TKMLang::walk(Walk& w)
{
    if (!owner_)
        return;
    w.section = OwnerName();
    nameTextComponents(owner_);
    w.component = owner_;
    walkNode(w, DescribeObject(owner_), "", true);
    std::vector<QObject*> components;
    collectComponents(owner_, components);
    for (QObject* component : components) {
        w.component = component;
        walkNode(w, DescribeObject(component), vx::FromQString(component->objectName()), true);
    }
}

void TKMLang::walkNode(Walk& w, const TTransNode& node, const std::string& path, bool component)
{
    if (component) {
        // A component without a font of its own takes no font from the one before it.
        w.font = node.FontHolder;
        w.fontPath = path;
        w.fontNo = 0;
        if (w.font && w.mode == Mode::Apply) {
            if (fontTranslated_.erase(path))
                w.font->setFont(builtInFonts_[path]);
            w.font->setLayoutDirection(w.biDiMode == 0 ? Qt::LeftToRight : Qt::RightToLeft);
        } else if (w.font) {
            const QFont f = w.font->font();
            const int size = std::clamp(f.pointSize() > 0 ? f.pointSize() : 0, 0, 0xFFFF);
            w.fontNo = static_cast<std::uint16_t>(
                w.edit->AddFont(vx::FromQString(f.family()), static_cast<std::uint16_t>(size), styleOf(f)) + 1);
        }
    }
    auto keyOf = [&path](const TTransProp& prop) { return path.empty() ? prop.Name : path + "." + prop.Name; };
    auto allowed = [&](const TTransProp& prop) {
        return PropAllowed(prop.IsList ? "TStrings" : node.ClassName, path, prop.Name);
    };
    // Setting one text may change another of the same object (a speed
    // item's hint follows its caption): all are remembered before any is set.
    if (w.mode == Mode::Apply)
        for (const TTransProp& prop : node.Props)
            if (allowed(prop))
                rememberText(w, keyOf(prop), prop);
    for (const TTransProp& prop : node.Props) {
        if (!allowed(prop))
            continue;
        if (w.mode == Mode::Apply)
            applyText(w, keyOf(prop), prop);
        else
            collectText(w, keyOf(prop), prop);
    }
    for (const auto& [name, child] : node.Children)
        walkNode(w, child, path.empty() ? name : path + "." + name, false);
}

std::string TKMLang::RememberedKey(const Walk& w, const std::string& key)
{
    return key + "@" + std::to_string(reinterpret_cast<std::uintptr_t>(w.component));
}

void TKMLang::rememberText(Walk& w, const std::string& key, const TTransProp& prop)
{
    TKLangStr* record = w.file ? w.file->FindString(w.section, key) : nullptr;
    const std::string remembered = RememberedKey(w, key);
    if (!record || record->HasFlags(lsNativeOnly) || builtInTexts_.count(remembered))
        return;
    std::string shown = prop.Get();
    // A component that shares its text with one translated before it (a menu
    // and its menu item) shows the translation already: its built-in text is
    // the one that component had.
    if (const auto first = firstBuiltIn_.find(key); first != firstBuiltIn_.end() && shown == record->Text())
        shown = first->second;
    firstBuiltIn_.try_emplace(key, shown);
    builtInTexts_.emplace(remembered, shown);
}

void TKMLang::applyText(Walk& w, const std::string& key, const TTransProp& prop)
{
    TKLangStr* record = w.file ? w.file->FindString(w.section, key) : nullptr;
    if (record && !record->HasFlags(lsNativeOnly)) {
        const std::string text = record->Text();
        const std::uint16_t fontNo = record->FontNo();
        const std::string remembered = RememberedKey(w, key);
        prop.Set(text);
        translated_.insert(remembered);
        if (fontNo > 0 && fontNo <= w.file->FontCount())
            applyFont(w, w.file->FontAt(fontNo - 1));
    } else if (const std::string remembered = RememberedKey(w, key); translated_.erase(remembered)) {
        prop.Set(builtInTexts_[remembered]);
    }
}

void TKMLang::applyFont(Walk& w, const TkFontItem& font)
{
    if (!w.font)
        return;
    builtInFonts_.try_emplace(w.fontPath, w.font->font());
    fontTranslated_.insert(w.fontPath);
    w.font->setFont(fontOf(font, w.font->font()));
}

void TKMLang::collectText(Walk& w, const std::string& key, const TTransProp& prop)
{
    const std::string text = prop.Get();
    const bool keep = !text.empty() && HasTranslatableChars(text);
    TkLangFileEdit& file = *w.edit;
    if (file.Props().Find(w.section, key)) {
        if (keep)
            file.SetString(file.Props().CurrentIdent(), text, w.fontNo);
        else
            file.DeleteString(w.section, key);
    } else if (w.mayAdd && keep) {
        if (file.LastIdent() == 0xFFFF)
            throw ELangFileError("Too many texts for one language file");
        file.AddString(static_cast<std::uint16_t>(file.LastIdent() + 1), w.section, key, w.fontNo, text);
    }
}
