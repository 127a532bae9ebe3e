// The main window: five document slots and the extra workspaces, the tag and
// completion lists, the file commands, the insertion routines every command
// and dialog puts its text through, and the start-up and shut-down steps.
#pragma once

#include "shell/api/AddressWatch.h"
#include "shell/api/MainWindow.h"
#include "shell/DocumentFile.h"
#include "shell/Recovery.h"
#include "shell/qt/mainwindow/TabCaptions.h"
#include "platform/TStringList.h"
#include "platform/Wording.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QStatusBar;
class QTimer;
class QTreeWidget;
class TRxGradientCaption;
class TDcjPerlSyn;
class TFlatHint;
class TFormStorage;
class TSpeedBar;
class TuilPluginManager;
class TStatusBar;
class TStatusNotice;
class TKMLang;
class TMRUManager;
class TMwCompletionProposal;
class TmwAutoComplete;
class ThkHTMLSyn;
class TlbVbsSyn;
class TmwCSSSyn;
class TmwCustomEdit;
class TmwCustomEditModel;
class TmwJScriptSyn;
class TsiTCLTKSyn;
class TwmMultiSyn;
class TwmPHPSyn;
class TwmSQLSyn;
namespace vx {
struct TLeftBehind;
struct TWholeCopy;
} // namespace vx

class TForm1 : public QMainWindow, public vx::shell::IMainWindow {
public:
    static constexpr int SlotCount = 5;
    static constexpr int MaxWorkspaces = 100;

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // --- life cycle
    void FormCreate();
    void FormActivate();
    void FormShow();
    // True when the window may close.
    bool FormCloseQuery();
    void ApplicationDeactivate();
    void ShowAssistantText(const std::string& text) override;
    void CopySidePicture(QLabel& target) const override;
    // The application's hint changed to hint (the long part of the hint of
    // the control under the mouse); a hint that is not empty goes to the assistant.
    void ApplicationHint(const std::string& hint);
    // The mouse is on something whose hint is hint (a control's, a menu
    // item's); a hint other than the last one becomes the application's hint.
    void MouseOnHint(const QString& hint);
    void RegisterShellEditVerb();
    // True when the FrontPage editor question is to be asked: always when
    // forced, else unless the user stopped it, when FrontPage's editor of
    // ".asp" files is FrontPage itself.
    bool CheckFrontPageEditorSetting(bool force);
    void LoadVcsList();
    // The editors' key bindings by command name, one "<command>=<short cut>,
    // <second short cut>" a line, from the user's file; a missing file is
    // written with the bindings in force, a file with a line that is no
    // binding is reported and the bindings stay.
    void LoadKeyBindings();
    static constexpr const char* KeyBindingsFile = "data\\keystrokes.dat";
    void CreateWorkspaces();
    // Offers the text of documents a run that ended unexpectedly left in its
    // recovery copies: restored (as unsaved changes), discarded or kept.
    void OfferRecovery();
    // Writes the recovery copy of every editor with unsaved text at once:
    // before something that may end the program (a plug-in) runs.
    void SaveRecoveryCopies();
    // The folder of this run's recovery copies; empty while there are none.
    std::string RecoveryFolder() const;
    bool FirstActivation() const { return firstActivation_; }
    // Counted on a monotonic clock: changes of the wall clock do not move it.
    std::chrono::steady_clock::time_point ProjectStart() const { return projectStart_; }
    // The file names the program was started with.
    std::vector<std::string> CommandLine;

    // --- document slots, 1-based
    TmwCustomEdit* SlotEditor(int slot) const { return richedit.at(slot - 1); }
    QWidget* SlotTab(int slot) const { return TabSheets.at(slot - 1); }
    const std::string& SlotFileName(int slot) const { return slots_.at(slot - 1).FileName; }
    const std::vector<TmwCustomEdit*>& Workspaces() const { return workspaces_; }
    void OpenDocumentInFreeSlot(const std::string& fileName, bool readOnly) override;
    void Save1Click();
    void SaveAs1Click();
    void Fileopen1Click();
    // "New": runs the new-page wizard where a document can take the page,
    // writes the page and opens it there; disabled while no wizard is set.
    void New1Click();
    // The new-page wizard: true when it produced a page and left it on the
    // clipboard. Setting one enables "New" and its tool button.
    void SetNewPageWizard(std::function<bool()> wizard);
    void Closefile1Click();
    void CloseAllfiles1Click();
    void Timer2Timer();
    void Exit1Click();
    void Prefferences1Click();
    void SpeedButton12Click();
    // "Toggle Advanced /Novice mode": enables or disables every menu command
    // whose BeginnerTag property is 1 and flips the mode.
    void AdvancedNovice1Click();
    bool BeginnersMode() const { return beginnersMode_; }
    // "Vellumix Assistant": shows or closes the assistant window.
    void VellumixAssistant1Click();
    // The property that marks the commands a beginner does without.
    static constexpr const char* BeginnerTag = "Tag";

    // --- search, jump to line and the status bars
    // Shows the search dialog; on "&Go" searches the focused slot.
    void Find1Click();
    // Slot is the slot's number as text, "1" to "5".
    void FindTextInSlot(const std::string& slot);
    void Jumptoline1Click();
    void Timer1Timer();

    // --- insertion
    TmwCustomEdit* ActiveEditor() const override;
    // False for a read-only editor, with the reason in the status bar.
    bool MayChange(const TmwCustomEdit& editor);
    // Activates the main window with the keyboard in its document: the editor
    // the window last focused, else the one the user last typed in, else the
    // current page's. A window of the program that closes gives it back here.
    void ReturnKeyboard();
    // The active editor when its text may change; none for a read-only one,
    // and the status bar says why nothing happens.
    TmwCustomEdit* EditableEditor();
    // Text holding a character the document's file cannot store goes in by
    // none of these, not in part either: the status bar names the character.
    void insert_item(const std::string& text, std::uint8_t mode) override;
    void insert_item_2(const std::string& text, std::uint16_t back) override;
    // The lines, each tag-case converted, as new last lines of the active
    // editor: one change that one Undo takes back, the caret and the
    // selection left where they were. insert_item in mode 1 for each line.
    void append_lines(const std::vector<std::string>& lines);

    // Whether a tip waits for the assistant (set by the tips timer).
    bool TipPending = false;

    // --- components
    vx::shell::TDocumentTabs* PageControl1;
    std::array<QWidget*, SlotCount> TabSheets{};
    std::array<TmwCustomEdit*, SlotCount> richedit{};
    TmwCustomEdit* newedit;
    TStatusBar* StatusBar1;
    // The focused editor's caret, keyboard locks, project time and states.
    TStatusBar* glob_stat;
    // The IP address watcher the status bar reads; null until one is plugged in.
    vx::shell::IAddressWatch* ipwatcher = nullptr;
    QWidget* toppanel;
    TRxGradientCaption* RxGradientCaption1;
    TSpeedBar* SpeedBar1;
    QTreeWidget* Jtree;
    QListWidget* sqlbox;
    QListWidget* vblist;
    QListWidget* aspbox;
    QListWidget* mivalist;
    QListWidget* phplist;
    QListWidget* perllist;
    QListWidget* tags;
    QListWidget* coldfusion;
    QListWidget* webtv;
    QListWidget* usertags;
    QListWidget* csslist;
    QComboBox* combobox1;
    QComboBox* combobox2;
    QComboBox* combobox3;
    QComboBox* ComboBox4;
    QListWidget* ListBox1;
    QTreeWidget* vcsbox;
    QCheckBox* CheckBox1;
    QAction* New1;
    QAction* VellumixAssistant1;
    QAction* AdvancedNovice1;
    QMenu* ReOpen1;
    QTimer* Timer1;
    QTimer* Timer2;
    QTimer* tipstimer;
    QTimer* res_timer;
    TMRUManager* mru;
    TFormStorage* FormStorage1;
    TKMLang* KMLang1;
    std::unique_ptr<TuilPluginManager> plugins1;
    // Styles every tooltip of the program.
    TFlatHint* FlatHint1;
    // The completion popup (its items from codecomplete.ae) and the
    // abbreviation expander (its list from macros.dat); slot 1's editor is
    // attached to both from the start, slots 2 to 5 once codecomplete.ae exists.
    std::unique_ptr<TMwCompletionProposal> codec1;
    std::unique_ptr<TmwAutoComplete> a_complete;

    // Highlighters, one of each; the multi-language one is every slot's own.
    std::unique_ptr<ThkHTMLSyn> hi_html;
    std::unique_ptr<TmwCSSSyn> hi_css;
    std::unique_ptr<TmwJScriptSyn> hi_js;
    std::unique_ptr<TDcjPerlSyn> hi_perl;
    std::unique_ptr<TwmPHPSyn> hi_php;
    std::unique_ptr<TwmSQLSyn> hi_sql;
    std::unique_ptr<TlbVbsSyn> hi_vbs;
    std::unique_ptr<TsiTCLTKSyn> hi_tcl;
    std::unique_ptr<TwmMultiSyn> wmMultiSyn1;

protected:
    bool event(QEvent* event) override;
    // Follows the mouse over every window of the program for the application hint.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    static void AppendLines(TmwCustomEditModel& model, const std::vector<std::string>& lines);
    // Text the editor's document cannot store is named in the status bar.
    void ReportRefusals(TmwCustomEdit& editor);
    struct TSlot {
        std::string FileName;
        vx::shell::TLoadedLines Loaded;
        vx::shell::TFileStamp Stamp;
        // The file begins with the UTF-8 byte order mark, which the text does not hold.
        bool ByteOrderMark = false;
        // The whole copy of an interrupted save the text was opened from;
        // removed once the file holds the text.
        std::string Copy;
        // Why a save the user did not ask for left the file as it was, until
        // the text is saved or the document closed.
        std::string NotSaved;
        // A save of it waits on the user (a question, a box): another one
        // meanwhile is skipped.
        bool Saving = false;
        // The file looked binary when it was opened: saving may change its bytes.
        bool LooksBinary = false;
        // A text kept aside beside a document, opened apart: closing it
        // offers to remove it, the user having seen it.
        bool KeptText = false;
    };
    // Background saves (autosave, deactivation) never ask: a file changed on
    // disk is left alone until the user saves explicitly.
    enum class TSaveKind { Explicit, Background };
    enum class TSaveResult { Written, Unchanged, Failed };

    void BuildLayout();
    void BuildMenus();
    void BuildTagLists(QWidget* parent);
    void CreateStatusPanels();
    // The status bar warns of a binary-looking file while its document is in
    // front, and only then; another message in the bar is left alone.
    void ShowBinaryWarning();
    void CreateHighlighters();
    void LoadListFiles();
    // Hooks the slot's editor to the completion popup and the expander; an
    // editor already attached stays attached once.
    void AttachCompletion(int slot);
    void FirstActivationSetup();
    // Runs the steps of an activation; a step that fails does not stop the
    // others, and the failures are shown together in one message at the end,
    // unless the last activation ended in the same ones.
    void RunActivationSteps(const std::vector<std::function<void()>>& steps);
    // A language file that cannot be used is reported and the built-in texts stay.
    void ApplyStartLanguage();
    void SaveNamedSlots(TSaveKind kind);
    // Written when the slot's file was written now; Unchanged when the file
    // already held the editor's text; Failed when it was not written, or
    // not tried as a save of it is under way already.
    TSaveResult SaveSlot(int slot, TSaveKind kind);
    // Writes the slot's text to its file, held from the look at it to the
    // last flush; where expected is given and the file is neither as it
    // says nor gone, writes nothing and answers what it found. The recovery
    // copy is brought up to date first, before the file is held, so that
    // no box stands while it is.
    std::optional<vx::shell::TFileStamp> WriteSlot(int slot,
                                                   const std::optional<vx::shell::TFileStamp>& expected);
    // Why a background save left the slot's file alone (empty: it did not),
    // in the status bar while it lasts.
    void NoteNotSaved(int slot, std::string why);
    // Tells once a run that a file could be held against no other program.
    void TellUnguarded(const std::optional<TMessage>& why);
    // A document stored as Windows-1252 refused text holding a character it
    // cannot store: the status bar says which.
    void ReportRefusedText(const std::string& text);
    // Asks for a file name and writes an editor without one (an unnamed slot
    // becomes named); false when the user cancels or the write fails.
    bool SaveUnnamed(TmwCustomEdit* editor);
    // The slot a file or a new page goes in: the first free one; when every
    // slot without a file holds typed text, the first of those once the user
    // lets its text go (discard words the question for a slot). 0 when there
    // is none, the user told why (noneLeft).
    int SlotToTake(const std::function<std::string(int slot)>& discard, const std::string& noneLeft);
    // The same for the file.
    int SlotToOpenIn(const std::string& fileName);
    void ClearSlot(int slot);
    // The question before the slots given are closed, naming those of them
    // whose unsaved changes closing discards.
    std::string ClosingQuestion(const std::string& question, const std::vector<int>& closing) const;
    // A slot's tab caption: the file's name, "<empty>" for none.
    static QString TabCaptionOf(const std::string& fileName);
    // Free: neither a file nor typed text that was never saved.
    bool IsFreeSlot(int slot) const;
    int FirstFreeSlot() const;
    // The slot that holds the file already; 0 for none.
    int SlotOfFile(const std::string& fileName) const;
    // True unless a slot other than slot (0: any slot) holds the file; the
    // user is told why when it does.
    bool MayTakeName(int slot, const std::string& fileName);
    // Brings the slot's tab to the front and gives its editor the focus.
    void ActivateSlot(int slot);
    // How a file is opened in a slot: as a document, or apart, read-only, as
    // a whole copy or as a text kept aside, neither of which is a document of
    // the user's (it has no copies of its own, and the recent-files list does
    // not name it). Closing a text kept aside offers to remove it.
    enum class TOpenAs { Document, CopyApart, KeptApart };
    // A text to open apart once the file being opened is.
    struct TApart {
        std::string Path;
        TOpenAs As = TOpenAs::CopyApart;
    };
    // When the file holds what an interrupted save left (bytes), asks whether
    // to open the whole copy of that save instead (copies, as WholeCopiesOf
    // found them): yes puts the copy's text in bytes and answers the copy's
    // path; a copy declined is set aside. Copies equal to the file are
    // removed. Of a copy of other text beside it, and of the temporaries
    // killed saves left (left), which are kept aside, the user is told; one
    // to open read-only in a slot of its own is added to apart. Texts kept
    // aside before are named, and those the user wants to see added to apart.
    std::string TakeWholeCopy(const std::string& fileName, std::string& bytes, const vx::TLeftBehind& left,
                              std::vector<vx::TWholeCopy>& copies, std::vector<TApart>& apart);
    // Names the texts kept aside beside the file, with their sizes and
    // times, and adds those the user wants to see, as many as free slots
    // take, to apart.
    void OfferKeptTexts(const std::string& fileName, const std::vector<std::string>& keptAside,
                        std::vector<TApart>& apart);
    // How many slots are free for texts opened apart beside the one the file
    // being opened takes and those apart holds already.
    int RoomApart(const std::vector<TApart>& apart) const;
    // Tells the user of a text kept at text.Path; where a slot is free beside
    // the one the file being opened takes, offers to open it there,
    // read-only (added to apart).
    void TellOfTextApart(const std::string& notice, const TApart& text, std::vector<TApart>& apart);
    // Before the slots given are closed: offers to remove the texts kept
    // aside that they show.
    void OfferToRemoveKeptTexts(const std::vector<int>& closing);
    void OpenInFreeSlot(const std::string& name, bool readOnly, TOpenAs as);
    // Opens the file (its whole name) in the slot, in place of what the slot held.
    void OpenInSlot(int slot, const std::string& fileName, bool readOnly, TOpenAs as);
    // The slot's file was written: the copy its text was opened from has done
    // its work and goes; the other copies the file had before (superseded,
    // taken before the write, which may give the file a new identity) are
    // older than what it holds now, and are set aside.
    void RetireWholeCopies(TSlot& state, const std::vector<std::string>& superseded);
    // The slot whose editor is the active one; 0 for none.
    int ActiveSlot() const;
    bool IsOwnEditor(const QWidget* widget) const;
    // Named, writable and modified.
    bool NeedsSave(int slot) const;
    // Text the user typed that no file holds: a modified slot without a name
    // or a modified workspace.
    bool HoldsUnsavedText(const TmwCustomEdit* editor) const;
    // Asks about modified documents before quitting; false when quitting is cancelled.
    bool AskToSaveModified();
    // Keeps recovery copies from now on, looking at the editors as a timer ticks.
    void StartRecovery();
    // One look at every editor for its recovery copy (the timer's, or flush);
    // false when a copy could not be written.
    bool KeepRecoveryCopies(bool flush);
    // The same for the editors given, textOf giving each one's text as saving joins it.
    bool KeepRecoveryCopiesOf(const std::vector<const TmwCustomEdit*>& editors, bool flush,
                              const std::function<std::string(const TmwCustomEdit*)>& textOf);
    // In the status bar for as long as it holds, and the first time in a
    // message box as well.
    void ReportRecoveryFailure(const std::string& reason);
    // The editor's text was saved or closed: its recovery copy goes.
    void DropRecoveryCopy(const TmwCustomEdit* editor);
    vx::shell::TRecoveryPlace PlaceOf(const TmwCustomEdit* editor) const;
    // The editor's text as saving writes it: a slot's lines with the breaks its file had.
    std::string SavedText(const TmwCustomEdit* editor) const;
    vx::shell::TRecoveryRecord RecoveryRecordOf(const TmwCustomEdit* editor, std::string text) const;
    // Puts a recovered text into its place, or the first free slot, and
    // answers the editor that holds it; none when there is no room.
    TmwCustomEdit* RestoreCopy(const vx::shell::TRecoveryRecord& record);

    std::array<TSlot, SlotCount> slots_;
    std::vector<TmwCustomEdit*> workspaces_;
    QPointer<TmwCustomEdit> lastFocused_;
    bool firstActivation_ = true;
    bool beginnersMode_ = false;
    std::string applicationHint_;
    bool workspacesCreated_ = false;
    std::function<bool()> newPageWizard_;
    // Why background saves left files alone.
    TStatusNotice* saveNotice_ = nullptr;
    bool unguardedTold_ = false;
    // Whether the document in front looked binary.
    TStatusNotice* binaryNotice_ = nullptr;
    std::unique_ptr<vx::shell::TRecoveryKeeper> recovery_;
    bool recoveryFailureTold_ = false;
    // Why copies cannot be kept, while they cannot.
    TStatusNotice* recoveryNotice_ = nullptr;
    std::string activationFailures_;
    std::chrono::steady_clock::time_point projectStart_ = std::chrono::steady_clock::now();
};

extern TForm1* Form1;

// The product banner: the application title and the template's generator.
inline constexpr const char* ProductName = "Vellumix";
inline constexpr const char* ProductVersion = "Vellumix Professional 1.0";
