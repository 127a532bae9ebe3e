// Translation of the program's windows from language files. Every window
// carries one TKMLang; TKAppLanguage holds what the windows share: the
// language folder, the current language and its file, the scan rules, and
// languages stored inside the program.
//
// A window's texts are found by walking its named objects (objectName) and
// their translatable properties (see KMLangAdapters.h); each text is looked
// up under the window's OwnerName (section) and "<Component>.<Property>"
// (key). The texts a window was built with are remembered the first time a
// translation replaces them, so "Native" gives them back, and a key the
// current language has no text for shows the built-in text, never the text of
// the language before.
#pragma once

#include "localisation/KLangEd.h"
#include "localisation/TranslatableChars.h"
#include "platform/Exception.h"
#include "platform/TStringList.h"

#include <QFont>
#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class QWidget;
struct TTransNode;
struct TTransProp;

VX_DECLARE_EXCEPTION(EKMLangError, Exception);

using TTransEvent = std::function<void(const std::string& NewLang)>;

class TKMLang;

class TKAppLanguage {
public:
    // The one instance of the process (user-interface thread only).
    static TKAppLanguage& Instance();
    TKAppLanguage(const TKAppLanguage&) = delete;
    TKAppLanguage& operator=(const TKAppLanguage&) = delete;

    // The program's settings, once: the eleven scan rules; then the list of
    // available languages is built.
    void Initialize();

    // The language folder as set; relative to the program folder unless
    // absolute. Setting another value reopens the current language's file
    // (windows are not translated again) and rebuilds the language list.
    const std::string& LangDir() const { return langDir_; }
    void SetLangDir(const std::string& dir);
    // The folder language files are read from, ending in '/'.
    const std::string& EffectiveLangDir() const { return effectiveDir_; }

    const TStringList& ScanRules() const { return scanRules_; }
    void SetScanRules(const TStringList& rules);
    std::string NativeLangName;

    // Languages kept inside the program. Setting the list checks that every
    // non-blank name has a file (EKMLangError "No such language file "<path>""
    // and nothing changed otherwise).
    const TStringList& StoredLanguages() const { return stored_; }
    void SetStoredLanguages(const TStringList& names);
    // The stored languages as data: count (4 bytes), then per language a
    // length-prefixed name, a size (4 bytes) and the whole language file.
    std::string StoredLangsData() const;
    // EKMLangError when the data is damaged; nothing changes then.
    void SetStoredLangsData(std::string_view data);

    // The names of the language files in the folder, the stored ones first.
    const TStringList& Languages() const { return languages_; }
    void RebuildLanguageList();

    // Opens the named language and translates every window. When the file
    // cannot be used (missing, not a language file, damaged) the exception
    // says why and the previous language stays current. "Native" (any case)
    // needs no file: windows show their built-in texts.
    void SetLanguage(const std::string& name);
    const std::string& CurrentLanguage() const { return current_; }
    const std::string& PreviousLanguage() const { return previous_; }
    bool IsNativeCurrent() const;
    static bool IsNativeName(std::string_view name);

    // name + ".lng" (unless the name already contains ".lng") in the language
    // folder, matched case-insensitively against the files there.
    std::string LangFilePath(const std::string& name) const;
    // Reopens the current language's file; a missing one reads as empty.
    void OpenCurrentLanguage();
    // The current language's file, opened on first use.
    TKLangFile& CurrentFile();

    const std::vector<TKMLang*>& LiveComponents() const { return live_; }

private:
    friend class TKMLang;
    TKAppLanguage();
    std::unique_ptr<TKLangFile> loadLanguage(const std::string& name, bool mustExist) const;
    void useFile(std::unique_ptr<TKLangFile> file);
    void add(TKMLang* component);
    void remove(TKMLang* component);

    std::string langDir_;
    std::string effectiveDir_;
    TStringList scanRules_;
    TStringList stored_;
    std::map<std::string, std::string> storedData_; // lower-cased name -> file bytes
    TStringList languages_;
    std::string current_ = "Native";
    std::string previous_;
    std::unique_ptr<TKLangFile> file_;
    std::vector<TKMLang*> live_;
    bool initialized_ = false;
    // The format settings before the first language locale replaced them.
    vx::TFormatSettings builtInLocale_;
    bool localeApplied_ = false;
};

void SetLanguage(const std::string& name);
std::string LangFilePath(const std::string& name);
// For a window built in code, once its components are in place: gives it its
// language component ("KMLang1") and translates it into the current language.
TKMLang* TranslateWindow(QWidget* window);
// The same for a window that words some texts itself (a caption that depends
// on how it was opened, a status it shows): ownTexts sets them now and again
// after every translation, so they follow the language with the rest.
TKMLang* TranslateWindow(QWidget* window, std::function<void()> ownTexts);

class TKMLang : public QObject {
    Q_OBJECT
public:
    // A child of the window it translates.
    explicit TKMLang(QWidget* owner);
    ~TKMLang() override;

    QWidget* OwnerWindow() const { return owner_; }
    std::string LangDir() const;
    void SetLangDir(const std::string& dir);
    // The current language; setting it switches the whole application.
    std::string LangFileName() const;
    void SetLangFileName(const std::string& name);
    const TStringList& LocalRules() const { return localRules_; }
    void SetLocalRules(const TStringList& rules);
    const TStringList& GlobalRules() const;
    void SetGlobalRules(const TStringList& rules);
    const TStringList& StoredLangs() const;
    // The section of this window's texts: the name the window was designed
    // with (by default the window's objectName).
    std::string OwnerName() const;
    void SetOwnerName(const std::string& name);

    TTransEvent BeforeTrans;
    TTransEvent AfterTrans;

    // Ends the window's construction: translates unless the language is native.
    void Loaded();
    void Translate();
    // Collects the window's texts into file (the native file): changed texts
    // are updated, texts without a translatable character deleted, new ones
    // added (only while the current language is native; otherwise
    // EKMLangError "Can not save form while current language is not native"
    // follows the update).
    void CollectInto(TkLangFileEdit& file);

    // The rule filter: class is the object's class, path ends in its component.
    bool PropAllowed(std::string_view className, std::string_view path, std::string_view prop) const;
    const std::vector<std::string>& EffectiveRules() const { return rules_; }

private:
    enum class Mode { Collect, Apply };
    struct Walk;
    void rebuildRules();
    void walk(Walk& w);
    void walkNode(Walk& w, const TTransNode& node, const std::string& path, bool component);
    static std::string RememberedKey(const Walk& w, const std::string& key);
    void rememberText(Walk& w, const std::string& key, const TTransProp& prop);
    void applyText(Walk& w, const std::string& key, const TTransProp& prop);
    void collectText(Walk& w, const std::string& key, const TTransProp& prop);
    void applyFont(Walk& w, const TkFontItem& font);

    QWidget* owner_;
    std::string ownerName_;
    TStringList localRules_;
    std::vector<std::string> rules_;
    std::map<std::string, std::string> builtInTexts_;
    // Per key, the built-in text of the first component that had it.
    std::map<std::string, std::string> firstBuiltIn_;
    std::set<std::string> translated_;
    std::map<std::string, QFont> builtInFonts_;
    std::set<std::string> fontTranslated_;
};
