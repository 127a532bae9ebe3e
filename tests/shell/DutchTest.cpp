// The Dutch language: the translation table covers every text of every window,
// every window shows Dutch once the language is chosen (only names, code and
// words Dutch shares with English stay as they are), and so does every window
// the menus open, on every page, the windows their buttons open, the file
// dialogs and the status bars of the running program; no window of ours shows
// words without a language component; captions a window tells apart in
// English it tells apart in Dutch;
// switching changes the open windows at once and back, Qt's own texts with
// them, and the start-up language survives a restart; the table words like
// things alike and keeps a sentence whole.
#include "tests/database/MissingDataSource.h"
#include "tests/shell/DesktopStandIn.h"
#include "tests/shell/DutchFixture.h"
#include "tests/shell/MenuDriver.h"
#include "tests/shell/TextFit.h"
#include "tests/shell/WindowTexts.h"
#include "tests/shell/WindowWalker.h"
#include "tests/support/Patience.h"
#include "tests/tools/DialogClicks.h"

#include "database/mSession.h"
#include "database/qt/DsnCfg.h"
#include "database/qt/ODBCErrorDlg.h"
#include "images/qt/AnimatorForm.h"
#include "images/qt/GifOptimizerForm.h"
#include "images/qt/PaletteForm.h"
#include "images/qt/PreviewForm.h"
#include "internet/qt/FtpForm.h"
#include "internet/qt/LinkCheckForm.h"

#include "controls/common/DateUtil.h"
#include "controls/edits/PickDate.h"
#include "controls/edits/ToolEdit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "controls/speedbar/SbSetup.h"
#include "controls/speedbar/SpeedBar.h"
#include "localisation/FormatSettings.h"
#include "localisation/KLangEd.h"
#include "localisation/LangTranslator.h"
#include "localisation/RunTimeText.h"
#include "localisation/TranslationTable.h"
#include "localisation/qt/KLangTool.h"
#include "localisation/qt/KMLang.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/TStringList.h"
#include "platform/qt/Application.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/LanguageWindows.h"
#include "shell/qt/mainwindow/MainFormCommandsState.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/ProfHelp.h"
#include "shell/qt/windows/Recorder.h"
#include "shell/qt/windows/SearchForm.h"
#include "shell/qt/windows/VersionManager.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "tools/qt/AspGenerators.h"
#include "tools/qt/MultiFileReplaceWindow.h"
#include "tools/qt/SourceBeautifierDialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTime>
#include <QToolButton>
#include <QTreeView>

#include <cxxabi.h>
#include <map>
#include <memory>
#include <set>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vx::test {
namespace {

const char* const kTable = VX_SOURCE_DIR "/languages/Nederlands.po";

// Lines that read the same in Dutch. Every one must still be shown by some
// window: a name that leaves the program leaves this list too.
const std::set<std::string>& SameInDutch()
{
    static const std::set<std::string> same = {
    // Product, site and technology names.
    "Miva", "Cold Fusion", "Webtv", "Nederlands", "ASP Town", "4 Guys from Rolla", "The ASP Hole",
    "The ASP developper network", "The ASP Alliance", "Vellumix Professional 1.0", "Microsoft Access",
    "Vellumix Gif Animator 1.0",
    // Languages and file types.
    "JavaScript", "PHP", "SQL", "Html", "VBScript", "*.html", "Perl/Cgi", "CSS", "Perl / CGI", "Sql", "Vbscript",
    "*.asp", "*.inc", "*.asa", "*.htm", "Jpeg", "Gif", "Png", "Htm", "Shtml", "ASP", "HTM", "HTML", "SHTML", "Perl",
    "VBscript", "DIB (*.DIB)", "JIF (*.JIF)", "GIF (*.GIF)", "PCX (*.PCX)", "RLE (*.RLE)", "Targa (*.TGA)",
    "Global.asa (*.asa)",
    // Words Dutch shares with English, key names, symbols and sizes.
    "1 ( 8 pt)", "2 (10 pt)", "3 (12 pt)", "4 (14 pt)", "5 (18 pt)", "6 (24 pt)", "7 (36 pt)", "Fuchsia", "x",
    "NUM", "CAPS", "SQL - Wizards", "VBScript - wizards", "Plug-ins", "Wizards", "Help", "Document 1", "Document 2",
    "Document 3", "Document 4", "Document 5", "Macro's", "&OK", "OK", " Databases", " Records", "|<", ">|", "< Help >",
    "OK %1", "<Type>", "Copyright", "Homepage", "Database", "Status", "Type", "& Ampersand", "\xC2\xA9 Copyright",
    "0 bytes", "%1 bytes", "ID", "Printer", "Type:", "Parameters", "&Help",
    // The calculator's keys.
    "sqrt", "1/x", "C", "MC", "MR", "MS", "MP",
    // Code that goes into the generated pages as it is: tag names, keywords, functions,
    // constants, server variables, attribute values, frame targets, data types, sample names.
    "Response.write \" \"", "Response.end", "True", "False", "Content_length", "Content_type", "Http_accept",
    "Http_accept_language", "Http_connection", "http_host", "Http_pragma", "Http_ua_pixels", "Http_ua_color",
    "Http_ua_cpu", "Http_user_agent", "http_cookie", "Gateway_interface", "Query_string", "Script_name",
    "Path_info", "Server_name", "Server_port", "CreateObject", "Mappath", "Select case", "Select", "From",
    "Order by", "Insert into", "Delete from", "Update", "Like", "Where", "And", "Or", "VBSunday", "VBMonday",
    "VBTuesday", "VBWednesday", "VBThursday", "VBFriday", "VBSaturday", "VBUseSystemDayOfWeek", "VBFirstJan",
    "VBFirstfourdays", "VBFirsFullWeek", "VBShortDate", "VBLongDate", "VBShortTime", "VBLongTime", "VBGeneralDate",
    "VBBlack", "VBRed", "VBGreen", "VBYellow", "VBBlue", "VBMagenta", "VBCyan", "VBWhite", "VBbinaryCompare",
    "VBtextCompare", "VBCr", "VBcrLf", "VBFormFeed", "VbLf", "VBNewLine", "VBNullChar", "VBNullString", "VBTab",
    "VBVerticalTab", "ABS", "Array", "Asc", "Atn", "Cbool", "Cbyte", "Cdate", "Cdbl", "Chr", "CInt", "Clng", "Cos",
    "Csng", "Cstr", "Date", "DateAdd", "DateDiff", "DatePart", "DateSerial", "DateValue", "Day", "Exp", "Filter",
    "Fix", "FormatCurrency", "FormatDateTime", "FormatNumber", "FormatPercent", "Function", "Hex", "Hour", "If",
    "Imp", "Inputbox", "Instr", "Int", "IsDate", "Join", "Lbound", "Lcase", "Left", "Len", "LoadPicture", "Log",
    "Ltrim", "Mid", "Minute", "Mod", "Month", "MonthName", "MsgBox", "Not", "Oct", "On Error Resume Next",
    "Option Explicit", "For", "Next", "Loop", "Do", "Clear", "Raise", "Dictionary", "FilesSystemObject", "While",
    "With", "If .. Else", "H1", "H2", "H3", "H4", "H5", "H6", "align=center", "align=left", "align=right",
    "Sql_get", "is", "Where ", "My_dsn_name", "Db_sample_value", "my_sql_function_Call", "my_record_set",
    "my_dsn_name", "db_sample_value", "my_connection", "my_sql_string", "my_record",
    "/www/home", "http://", "my_table_function", "my_caption", "Absbottom", "Absmiddle", "Baseline", "Bleedleft",
    "Bleedright", "Center", "Middle", "Right", "Text", "Top", "you\\@example.com", "someone\\@example.com",
    "you@example.com", "someone@example.com", "mailto:you@example.com",
    "https://", "ftp://", "gopher://", "telnet://", "file:///", "_Blank", "_Parent", "_Self", "_Top", "Banner",
    "Contents", "main", "menu", "Mouseover", "Mouseout", "ad_rotator.txt", "Is_Cookie_Supported", "My_Fieldname",
    "My_Email_table", "mycounter.cdx", "My_Counter", "AddHeader(\"\",\"\")", "AppendToLog", "BinaryWrite",
    "Buffer =", "CacheControl", "Charset = \"Charset_Name\"", "ContentType = \":\"",
    "Cookies(\"my_cookie\") = \"my_variable\"", "End", "Expires = ", "ExpiresAbsolute = ", "Flush",
    "IsClientConnected", "Redirect(\"\")", "Write \"\"", "Response.", "My_New_SQL_Table", "Bit", "Char",
    "Double Precision", "Float", "Integer", "Numeric", "Primary Key", "Real", "Smallint", "Time With Time Zone",
    "TimeStamp", "TimeStamp With Time Zone", "VarChar", "Not Null", "Null", "then", "else", "my_function",
    "My_Perl_Function", "export.rtf", "Time",
    };
    return same;
}

// Places whose contents are not the program's words: this machine's folders,
// files, drives, fonts and user name, the clipboard, the user's own macros
// and word lists, the clock times of the time list and the statement the SQL
// table builder writes.
bool ShowsDataOnly(const std::string& window, const std::string& place)
{
    static const char* const controls[] = {"DirTree1",     "DirectoryListBox1", "DirectoryLabel1",   "FileListBox1",
                                           "DriveComboBox1", "FontComboBox",    "ClipboardViewer1", "/indent",
                                           "/outdent"};
    static const std::pair<const char*, const char*> ofWindow[] = {{"Prefferences1", "/Memo1."},
                                                                  {"Inserttime1", "ListBox2."},
                                                                  {"SQLTableBuilder1", "Memo1."},
                                                                  {"file filter", "Edit1."},
                                                                  {"adding a data source", "DriverCB."},
                                                                  {"ODBC error", "ErrorLabel."},
                                                                  {"main window", "StatusBar1/QLabel#2."}};
    const std::string at = "/" + place;
    for (const char* control : controls)
        if (at.find(control) != std::string::npos)
            return true;
    for (const auto& [name, control] : ofWindow)
        if (window == name && at.find(control) != std::string::npos)
            return true;
    return false;
}

// A message box as the user reads it: its text, and the title of a box of a
// type (a plain box carries the program's name).
void AddMessages(std::map<std::string, TShownTexts>& shown, const std::string& command,
                 const std::vector<vx::dialogs::Request>& boxes)
{
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        TShownTexts& texts = shown["message box " + std::to_string(i) + " of " + command];
        if (boxes[i].type != mtCustom)
            texts["Caption"] = vx::ToQString(boxes[i].caption);
        texts["Text"] = vx::ToQString(boxes[i].text);
    }
}

// What a window shows on any of its pages: a wizard shows its "Finish" on its last page only.
TShownTexts ShownOnEveryPage(QWidget& window)
{
    TShownTexts texts = ShownTexts(window);
    for (QTabWidget* pages : window.findChildren<QTabWidget*>()) {
        const int current = pages->currentIndex();
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            texts.merge(ShownTexts(window));
        }
        pages->setCurrentIndex(current);
    }
    return texts;
}

// What the next modal window of type D shows once it is up; then it is closed.
template <class D> void SeeNextModal(QObject& opener, TShownTexts& texts)
{
    auto* poll = new QTimer(&opener);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &texts] {
        auto* window = dynamic_cast<D*>(QApplication::activeModalWidget());
        if (!window)
            return;
        poll->stop();
        poll->deleteLater();
        texts = ShownTexts(*window);
        window->reject();
    });
    poll->start(5);
}

// A port of this machine that no server listens on.
int ClosedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof at;
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&at), size), 0);
    EXPECT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&at), &size), 0);
    ::close(fd);
    return ntohs(at.sin_port);
}

// The windows that show while a command runs, and those other windows open
// from their buttons: replacing in files' query, progress and filter windows
// in both modes, the link validator after a run, the image optimiser's column
// headings and the publishing window after a connection that failed.
void AddInnerWindows(TForm1& form, std::map<std::string, TShownTexts>& shown, DialogRecorder& dialogs)
{
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* progress = form.findChild<QDialog*>("frm_progress"); progress && progress->isVisible())
            shown["progress of a command"] = ShownTexts(*progress);
    });
    watch.start();
    PickMenuCommand(form, "Spacestohtmlspaces1");
    watch.stop();
    EXPECT_TRUE(shown.count("progress of a command"));
    const TempDir folder("vellumix-inner");
    const std::string page = folder.file("page.htm");
    {
        TFStart start;
        start.StatusMinimum = 0;
        start.show();
        for (const std::string mode : {"find", "replace"}) {
            // The run selects each file in turn: the second while the progress shows.
            start.ListBox1->clear();
            for (const std::string& file : {page, page + ".2"}) {
                writeFile(file, "<a href=\"gone.htm\">x</a>\r\n");
                start.ListBox1->addItem(vx::ToQPath(file));
            }
            start.RunQuery = [&](TFQuery& query) {
                query.show();
                shown[mode + " query"] = ShownTexts(query);
                QTest::keyClicks(query.Edit1, "x");
                QTest::keyClicks(query.Edit2, "y");
                QTest::mouseClick(query.Button1, Qt::LeftButton);
                return query.result() == QDialog::Accepted;
            };
            // The run shows its progress while it goes through the list.
            const auto progress = QObject::connect(start.ListBox1, &QListWidget::currentRowChanged, [&] {
                if (auto* status = start.findChild<TFStatus*>())
                    shown[mode + " progress"] = ShownTexts(*status);
            });
            ClickButton(start, mode == "find" ? "SpeedButton2" : "SpeedButton3");
            QObject::disconnect(progress);
            EXPECT_TRUE(shown.count(mode + " progress")) << mode;
        }
        start.RunFilter = [&](TFFilter& filter) {
            filter.show();
            shown["file filter"] = ShownTexts(filter);
            return false;
        };
        ClickButton(start, "SpeedButton6");
    }
    {
        // A link the check passes by says why in the state panel, whole.
        const std::string linked = folder.file("links.htm");
        writeFile(linked, "<a href=\"gone.htm\">x</a><a href=\"mailto:you@example.com\">you</a>\r\n");
        TfrmLinkChecking links;
        links.show();
        links.edtHTML->setText(vx::ToQPath(linked));
        QTest::mouseClick(links.btnCheck1, Qt::LeftButton);
        const QAbstractItemModel& tree = *links.trvLinks->model();
        const QModelIndexList mail =
            tree.match(tree.index(0, 0, tree.index(0, 0)), Qt::DisplayRole, "mailto:you@example.com");
        EXPECT_EQ(mail.size(), 1);
        if (!mail.empty()) {
            links.trvLinks->scrollTo(mail[0]);
            QTest::mouseClick(links.trvLinks->viewport(), Qt::LeftButton, {},
                              links.trvLinks->visualRect(mail[0]).center());
        }
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        shown["link validator after a run"] = ShownTexts(links);
        const std::optional<TTextRoom> reason = RoomOf(links, vx::ToQString(links.StatusPanel(1)));
        ASSERT_TRUE(reason.has_value()) << "the state panel shows the reason \"" << links.StatusPanel(1) << "\"";
        EXPECT_TRUE(reason->Fits()) << reason->Place << " \"" << links.StatusPanel(1) << "\" needs " << reason->Needed
                                    << " px, has " << reason->Room;
    }
    {
        // The image optimiser's list shows its column headings whole from the first.
        Tfrm_gifoptimizer optimiser;
        optimiser.show();
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const std::vector<TTextRoom> headings = ColumnHeadingRooms(optimiser);
        EXPECT_EQ(headings.size(), 4u);
        for (const TTextRoom& room : headings)
            EXPECT_TRUE(room.Fits()) << room.Place << " \"" << vx::FromQString(room.Text) << "\" needs "
                                     << room.Needed << " px, has " << room.Room;
    }
    Tf_ftp ftp;
    ftp.FtpPort = ClosedPort();
    ftp.show();
    ftp.edit1->setText("127.0.0.1");
    const std::size_t asked = dialogs.requests.size();
    QTest::mouseClick(ftp.SpeedButton1, Qt::LeftButton);
    TShownTexts& texts = shown["publishing window after a failed connection"] = ShownTexts(ftp);
    for (auto& [place, text] : texts) // the log's times differ from one walk to the next
        text.remove(QRegularExpression("^\\* \\d\\d:\\d\\d:\\d\\d ", QRegularExpression::MultilineOption));
    AddMessages(shown, "publishing window after a failed connection",
                std::vector(dialogs.requests.begin() + static_cast<std::ptrdiff_t>(asked), dialogs.requests.end()));
}

// The windows the GIF animator opens once it holds a picture: the preview, the
// palette of the background colour and the speed bar's customisation; the
// version manager's calendar, the data source window's add dialog and the
// dialog an ODBC error shows in.
void AddComponentWindows(std::map<std::string, TShownTexts>& shown)
{
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QApplication::clipboard()->setImage(picture);
    TAnimatorForm animator;
    animator.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&animator));
    const auto click = [&animator](const char* name) {
        auto* item = dynamic_cast<TSpeedItem*>(animator.findChild<QObject*>(name));
        ASSERT_NE(item, nullptr) << name;
        QTest::mouseClick(item->Button(), Qt::LeftButton);
    };
    click("PasteBtn");
    for (const TTextRoom& room : TextRoomsOnEveryPage(animator))
        EXPECT_TRUE(room.Fits()) << "GIF animator holding a frame: " << room.Place << " \""
                                 << vx::FromQString(room.Text) << "\" needs " << room.Needed << " px, has "
                                 << room.Room;
    SeeNextModal<TPreviewForm>(animator, shown["animation preview"]);
    click("PreviewBtn");
    animator.findChild<QTabWidget*>("Pages")->setCurrentIndex(1);
    SeeNextModal<TPaletteForm>(animator, shown["palette"]);
    QTest::mouseClick(animator.findChild<QToolButton*>("BackColorBtn"), Qt::LeftButton);
    TSpeedBar& bar = animator.SpeedBar();
    QTest::mouseDClick(&bar, Qt::LeftButton, {}, QPoint(bar.width() - 4, bar.height() / 2));
    std::unique_ptr<TSpeedbarSetupWindow> setup(animator.findChild<TSpeedbarSetupWindow*>());
    ASSERT_NE(setup, nullptr);
    shown["speed bar customisation"] = ShownTexts(*setup);

    Tfrm_todo_addtask task(nullptr);
    task.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&task));
    TDateEdit& date = *task.DateEdit1;
    Click(*date.Button(), date.Button()->rect().center());
    ASSERT_TRUE(date.PopupVisible());
    shown["calendar of a date"] = ShownTexts(*date.Popup());
    date.Popup()->HidePopup();

    Tfrm_dsncfg sources;
    sources.show();
    SeeNextModal<TAddDlg>(sources, shown["adding a data source"]);
    QTest::mouseClick(sources.Button1, Qt::LeftButton);
    ODBCErrorDlg();
    SeeNextModal<TmODBCErrorDlg>(sources, shown["ODBC error"]);
    vx::test::ConnectToMissingDataSource();
    for (const char* window : {"animation preview", "palette", "adding a data source", "ODBC error"})
        EXPECT_FALSE(shown[window].empty()) << window << " did not show";
}

// The class of an object as its source names it.
std::string ClassOf(const QObject& object)
{
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(typeid(object).name(), nullptr, nullptr, &status), &std::free);
    return status == 0 && name ? name.get() : typeid(object).name();
}

// The windows of ours that show words and carry no language component, seen
// while it lives: a language switch would pass them by.
class UntranslatedWindows : public QObject {
public:
    UntranslatedWindows() { qApp->installEventFilter(this); }
    ~UntranslatedWindows() override { qApp->removeEventFilter(this); }
    std::set<std::string> Seen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = event->type() == QEvent::Show ? qobject_cast<QWidget*>(watched) : nullptr;
        if (!window || !window->isWindow() || window->windowType() == Qt::ToolTip ||
            window->findChild<TKMLang*>(QString(), Qt::FindDirectChildrenOnly))
            return false;
        const std::string name = ClassOf(*window);
        const TShownTexts texts = ShownTexts(*window);
        if (!name.starts_with('Q') && std::any_of(texts.begin(), texts.end(), [](const auto& text) {
                return HasTranslatableChars(vx::FromQString(text.second));
            }))
            Seen.insert(name);
        return false;
    }
};

// A caption as the eye tells it from another: without its shortcut mark, case and closing dots.
QString Reading(QString caption)
{
    caption = caption.remove('&').trimmed().toLower();
    while (caption.endsWith('.') || caption.endsWith(':'))
        caption.chop(1);
    return caption;
}

// The captions side by side (in one panel, one menu) that a window tells
// apart in English and shows alike in Dutch.
std::string CaptionsAlike(const std::map<std::string, TShownTexts>& english,
                          const std::map<std::string, TShownTexts>& dutch)
{
    std::string alike;
    for (const auto& [window, texts] : dutch) {
        // Panel and Dutch caption -> place, English caption.
        std::map<std::pair<std::string, QString>, std::pair<std::string, QString>> seen;
        for (const auto& [place, text] : texts) {
            const auto was = english.at(window).find(place);
            if (!place.ends_with(".Caption") || was == english.at(window).end())
                continue;
            const std::string panel = place.substr(0, place.rfind('/') + 1);
            const auto [first, added] =
                seen.try_emplace({panel, Reading(text)}, place, Reading(was->second));
            if (!added && first->second.second != Reading(was->second))
                alike += "  " + window + ": " + first->second.first + " and " + place + " = " +
                         vx::FromQString(text) + "\n";
        }
    }
    return alike;
}

// The menu items that answer in a message box where they find nothing to
// work with: no help file beside the program, no browser on the desktop, no
// mail server in the preferences; the files are asked about and kept.
void AnswerInMessageBoxes(TForm1& form, DialogRecorder& dialogs, std::map<std::string, TShownTexts>& shown)
{
    const NoDesktopPrograms desktop;
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("\\software\\Orvane\\Vellumix\\", true));
    reg.WriteString("smtp", "");
    reg.CloseKey();
    std::vector<const char*> commands = {"Closefile1", "CloseAllfiles1", "VellumixHelpIndex1", "VBScriptHelpindex1",
                                         "EmailSource1"};
    for (const auto& [name, address] : vx::shell::WebLinks())
        commands.push_back(name);
    for (const char* command : commands) {
        const QAction* action = form.findChild<QAction*>(command);
        ASSERT_NE(action, nullptr) << command;
        if (!action->isEnabled())
            continue;
        dialogs.requests.clear();
        dialogs.Queue(mrNo);
        PickMenuCommand(form, command);
        dialogs.answers.clear();
        EXPECT_FALSE(dialogs.requests.empty()) << command << " said nothing";
        AddMessages(shown, command, dialogs.requests);
    }
}

// What the program shows in one language, by window and place: every window
// the walk opens and the message boxes they raise, the boxes of the commands
// that only answer, the file dialogs of the file commands, and the main
// window with its status bars and the assistant after some typing and a hint.
std::map<std::string, TShownTexts> ShownEverywhere(TForm1& form, DialogRecorder& dialogs)
{
    UntranslatedWindows untranslated;
    std::map<std::string, TShownTexts> shown;
    for (const TWalkedWindow& walked :
         WalkEveryWindow(form, dialogs, [&shown](const std::string& command, QWidget& window) {
             shown[command] = ShownOnEveryPage(window);
         })) {
        EXPECT_TRUE(walked.Found) << walked.Command;
        AddMessages(shown, walked.Command, walked.Messages);
    }
    AnswerInMessageBoxes(form, dialogs, shown);
    AddInnerWindows(form, shown, dialogs);
    AddComponentWindows(shown);
    TmwCustomEdit& editor = *form.SlotEditor(1);
    editor.Model().SetText("");
    // Which window the closed ones hand the activation to is the platform's
    // choice, made as its events come; the user clicks back into the document.
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form, vx::test::kPatienceMs));
    editor.setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.ActiveEditor() == &editor; }, vx::test::kPatienceMs))
        << "the document does not have the keyboard; it is in "
        << (QApplication::focusWidget() ? ClassOf(*QApplication::focusWidget()->window()) : "no window")
        << (QApplication::activeModalWidget() ? ", a modal window is up" : "");
    QTest::keyClicks(&editor, "Walk");
    QTest::keyClick(&editor, Qt::Key_Insert);
    SelectRange(editor, 1, 1, 3);
    for (const char* command :
         {"Fileopen1", "SaveAs1", "SaveSelectionas1", "AsMacformattedfile1", "FromCSVfilecommadelimited1"}) {
        dialogs.requests.clear();
        PickMenuCommand(form, command);
        EXPECT_EQ(dialogs.requests.size(), 1u) << command;
        for (const vx::dialogs::Request& request : dialogs.requests) {
            TShownTexts& texts = shown[std::string("file dialog of ") + command];
            texts["Caption"] = vx::ToQString(request.caption);
            texts["ReadOnlyBox"] = vx::ToQString(request.readOnlyBox);
            const QStringList filters = vx::ToQString(vx::dialogs::QtFilter(request.text)).split(";;");
            for (int i = 0; i < filters.size(); ++i)
                texts["Filter." + std::to_string(i)] = filters[i].left(filters[i].lastIndexOf(" ("));
        }
    }
    // The refresh that shows the caret's place has written every panel.
    const std::string caret = "1:" + std::to_string(editor.Model().CaretX()) + ":4";
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.glob_stat->PanelText(0) == caret; }, vx::test::kPatienceMs));
    shown["main window"] = ShownTexts(form);
    const std::string before = frm_profhelp->Memo1->Lines().Text();
    QTest::mouseMove(form.SpeedBar1->FindItemByName("SpeedButton1")->Button());
    EXPECT_TRUE(QTest::qWaitFor([&] { return frm_profhelp->Memo1->Lines().Text() != before; }, vx::test::kPatienceMs));
    shown["assistant"] = ShownTexts(*frm_profhelp);
    // The tips timer's next tip, at once and the same one in every walk.
    vx::shell::CommandState(form).Random.seed(84);
    QObject::connect(
        form.tipstimer, &QTimer::timeout, form.tipstimer, [&form] { form.tipstimer->setInterval(50000); },
        Qt::SingleShotConnection);
    form.tipstimer->start(0);
    const TStrings& balloon = frm_profhelp->Memo1->Lines();
    const std::string tipLead = vx::FromQString(frm_profhelp->Edit1->text());
    const auto tipShown = [&] { return balloon.Count() > 3 && balloon[1] == tipLead; };
    EXPECT_TRUE(QTest::qWaitFor(tipShown, vx::test::kPatienceMs)) << "no tip";
    shown["assistant with a tip"] = ShownTexts(*frm_profhelp);
    QTest::keyClick(&editor, Qt::Key_Insert);
    editor.Model().SetText("");
    for (const std::string& window : untranslated.Seen)
        ADD_FAILURE() << window << " shows words but has no language component: a language switch misses it";
    return shown;
}

// Section.key -> text, for every key of the file.
std::map<std::string, std::string> TextsOf(const TKLangFile& file)
{
    std::map<std::string, std::string> texts;
    const TkLangProps& props = file.Props();
    for (int s = 0; s < props.SectionCount(); ++s)
        for (int k = 0; k < props.KeyCount(s); ++k)
            for (int i = 0; i < file.StringCount(); ++i)
                if (file.Record(i).Ident == props.KeyIdent(s, k))
                    texts[props.SectionName(s) + "." + props.KeyName(s, k)] = file.Record(i).Text;
    return texts;
}

std::vector<std::string> Lines(const std::string& text)
{
    TStringList lines;
    lines.SetText(text);
    std::vector<std::string> out;
    for (int i = 0; i < lines.Count(); ++i)
        out.push_back(lines[i]);
    return out;
}

// Every line of every text of the language file the build wrote from the windows.
std::set<std::string> NativeLines()
{
    TKLangFile native;
    native.LoadFromBytes(ReadWholeFile(VX_NATIVE_LNG));
    std::set<std::string> lines;
    for (const auto& [key, text] : TextsOf(native))
        for (std::string& line : Lines(text))
            lines.insert(std::move(line));
    return lines;
}

class DutchTest : public DutchFixture {
protected:
    // Every text of the print dialog File > Print document opens, by place,
    // its hidden parts too: the double-sided choices show only for a printer
    // that prints both sides.
    TShownTexts PrintDialogTexts()
    {
        TShownTexts texts;
        AnswerNext<QPrintDialog>([&texts](QPrintDialog& dialog) {
            for (QWidget* control : dialog.findChildren<QWidget*>()) {
                const std::string place = PlaceOf(dialog, *control);
                if (auto* button = qobject_cast<QAbstractButton*>(control))
                    texts[place] = button->text();
                else if (auto* label = qobject_cast<QLabel*>(control))
                    texts[place] = label->text();
                else if (auto* box = qobject_cast<QGroupBox*>(control))
                    texts[place] = box->title();
            }
            dialog.reject();
        });
        Focus(form->SlotEditor(1)); // the command prints the focused document
        PickMenuCommand(*form, "Printdocument1");
        return texts;
    }
};

TEST_F(DutchTest, TheTableTranslatesEveryTextOfEveryWindow)
{
    TLangWindowRegistry registry;
    vx::shell::RegisterLanguageWindows(registry);
    const TempDir folder("vellumix-lng");
    WriteNativeLanguage(registry, folder.path().string());
    const auto missing = TranslateLanguageFile(folder.file("native.lng"), kTable, folder.file("Nederlands.lng"));
    EXPECT_TRUE(missing.empty()) << missing.size() << " texts have no Dutch yet. Add these entries to "
                                 << "languages/Nederlands.po and fill in their msgstr:\n\n"
                                 << UntranslatedEntries(missing);
}

TEST_F(DutchTest, WhatTheMachineListsIsNoTextOfTheProgram)
{
    // The installed fonts and the machine's folders: a language that carried
    // them would put the build machine's lists into every user's windows.
    TKLangFile native;
    native.LoadFromBytes(ReadWholeFile(VX_NATIVE_LNG));
    int fontBoxes = 0;
    for (const auto& [key, text] : TextsOf(native)) {
        const bool fontBox = key.find("FontComboBox") != std::string::npos;
        fontBoxes += fontBox;
        EXPECT_FALSE(fontBox && key.find(".Items") != std::string::npos) << key;
        EXPECT_EQ(key.find("DirTree1.Items"), std::string::npos) << key;
    }
    EXPECT_GT(fontBoxes, 0) << "the font boxes' hints and labels stay";
}

TEST_F(DutchTest, EveryWindowShowsDutchWhereDutchDiffers)
{
    TKAppLanguage::Instance().SetLanguage("Nederlands");
    TkLangFileEdit native;
    native.LoadFromBytes(ReadWholeFile(VX_NATIVE_LNG));
    // What the windows show, collected into the keys of the native file.
    TkLangFileEdit shown;
    shown.LoadFromBytes(ReadWholeFile(VX_NATIVE_LNG));
    TLangWindowRegistry registry;
    vx::shell::RegisterLanguageWindows(registry);
    for (const auto& [name, make] : registry.Windows()) {
        std::unique_ptr<QWidget> window = make();
        auto* lang = window->findChild<TKMLang*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_NE(lang, nullptr) << name << " has no language component: a language switch misses it";
        EXPECT_THROW(lang->CollectInto(shown), EKMLangError) << "collecting in another language adds nothing";
    }
    const auto before = TextsOf(native);
    const auto after = TextsOf(shown);
    std::set<std::string> kept;
    std::string english;
    for (const auto& [key, text] : before) {
        const auto found = after.find(key);
        ASSERT_NE(found, after.end()) << key;
        const std::vector<std::string> was = Lines(text), is = Lines(found->second);
        ASSERT_EQ(was.size(), is.size()) << key;
        for (std::size_t i = 0; i < was.size(); ++i) {
            if (was[i] != is[i] || !HasTranslatableChars(was[i]))
                continue;
            if (SameInDutch().count(was[i]))
                kept.insert(was[i]);
            else
                english += "  " + key + ": " + was[i] + "\n";
        }
    }
    EXPECT_TRUE(english.empty()) << "texts the windows still show in English:\n" << english;
    // Names only the running windows show are met by the walk over them.
    const std::set<std::string> layout = NativeLines();
    for (const std::string& same : SameInDutch())
        EXPECT_TRUE(kept.count(same) || !layout.count(same))
            << "\"" << same << "\" is listed as the same in Dutch but no window shows it";
}

TEST_F(DutchTest, NoWindowShowsEnglishOnceDutchIsChosen)
{
    for (const char* tips : {"tips.txt", "tips.Nederlands.txt"})
        std::filesystem::copy_file(std::string(VX_SOURCE_DIR "/data/") + tips, home.Data(tips));
    StartAndActivate();
    const std::map<std::string, TShownTexts> english = ShownEverywhere(*form, dialogs);
    vx::test::PickMenuCommand(*form, "Nederlands1");
    const std::map<std::string, TShownTexts> dutch = ShownEverywhere(*form, dialogs);
    EXPECT_GT(dutch.size(), 70u) << "windows walked";
    std::string left;
    std::set<std::string> kept;
    for (const auto& [window, texts] : dutch) {
        const auto before = english.find(window);
        ASSERT_NE(before, english.end()) << window;
        for (const auto& [place, text] : texts) {
            const auto was = before->second.find(place);
            if (was == before->second.end() || was->second != text || ShowsDataOnly(window, place))
                continue;
            for (const QString& shown : text.split('\n')) {
                const std::string line = vx::FromQString(shown);
                if (!HasTranslatableChars(line) || line.starts_with('/')) // a path on this machine
                    continue;
                if (SameInDutch().count(line))
                    kept.insert(line);
                else
                    left += "  " + window + ": " + place + " = " + line + "\n";
            }
        }
    }
    EXPECT_TRUE(left.empty()) << "English in the Dutch windows:\n" << left;
    const std::string alike = CaptionsAlike(english, dutch);
    EXPECT_TRUE(alike.empty()) << "captions told apart in English that read alike in Dutch:\n" << alike;
    const TShownTexts& assistant = dutch.at("assistant");
    EXPECT_TRUE(std::any_of(assistant.begin(), assistant.end(),
                            [](const auto& line) { return line.second.startsWith("Tip: Nieuw bestand"); }))
        << "the hint of the button under the mouse";
    TStringList dutchTips;
    dutchTips.SetText(ReadWholeFile(VX_SOURCE_DIR "/data/tips.Nederlands.txt"));
    const TShownTexts& tip = dutch.at("assistant with a tip");
    EXPECT_TRUE(std::any_of(tip.begin(), tip.end(),
                            [&](const auto& line) { return dutchTips.IndexOf(vx::FromQString(line.second)) >= 0; }))
        << "a Dutch tip";
    const TShownTexts& links = dutch.at("link validator after a run");
    EXPECT_TRUE(std::any_of(links.begin(), links.end(), [](const auto& text) {
        return text.second == "Onbekend: alleen webadressen en lokale bestanden worden gecontroleerd";
    })) << "the reason of a link the check passes by";
    // Names the built windows hold are met by the test of the language file.
    const std::set<std::string> layout = NativeLines();
    for (const std::string& same : SameInDutch())
        EXPECT_TRUE(layout.count(same) || kept.count(same))
            << "\"" << same << "\" is listed as the same in Dutch but no window shows it";
}

TEST_F(DutchTest, SwitchingChangesEveryOpenWindowAndBack)
{
    StartAndActivate();
    // The refresh writes the address over the address panel's layout text.
    form->Timer1->stop();
    form->show();
    OpenAndFocus(WriteDoc("page.htm", "<p>page</p>"));
    QDialogButtonBox qtButtons(QDialogButtonBox::Cancel);
    auto* save = form->findChild<QAction*>("Save1");
    auto* fileMenu = form->findChild<QMenu*>("File1");
    ASSERT_TRUE(save && fileMenu);
    const vx::TFormatSettings builtIn = vx::FormatSettings();
    frm_search->show();

    TSpeedItem* newFile = form->SpeedBar1->FindItemByName("SpeedButton1");
    ASSERT_NE(newFile, nullptr);
    // "Next" is a wizard's button and, on the VBScript menu, a keyword.
    Tfrm_ado wizard(nullptr);
    wizard.show();
    auto* next = wizard.findChild<TFlatSpeedButton*>("SpeedButton3");
    auto* keyword = form->findChild<QAction*>("Next1");
    ASSERT_TRUE(next && keyword);
    // A date edit's own hint for a stepping button of its calendar, and a
    // date dialog's title its caller gave, are the caller's words.
    TDateEdit date;
    date.CalendarHints().Add("a year back");
    auto& calendar = dynamic_cast<TPopupCalendar&>(*date.Popup());
    TSelectDateDlg dueDate(nullptr, "Due date");
    // The status bar's clock and date as the Qt formats write them now, and
    // the cookie wizard's expiry date as it shows and as the code gets it.
    const auto clockReads = [&](const char* timeFormat, const char* dateFormat) {
        return QTest::qWaitFor(
            [&] {
                form->Timer1Timer();
                return form->StatusBar1->PanelText(0) == vx::FromQString(QTime::currentTime().toString(timeFormat)) &&
                       form->StatusBar1->PanelText(1) == vx::FromQString(QDate::currentDate().toString(dateFormat));
            },
            kPatienceMs);
    };
    const auto clock = [&] { return form->StatusBar1->PanelText(0) + " " + form->StatusBar1->PanelText(1); };
    const auto cookieExpiry = [] {
        Tfrm_cookie cookie(nullptr, [] { return vx::tools::TClockReading{2026, 3, 10, 2, 9, 0, 0}; });
        cookie.show();
        cookie.edit1->SetText("theme");
        ClickButton(cookie, "SpeedButton1");
        return std::pair(cookie.edit2->Text(), cookie.ResultLines().at(2));
    };
    const std::string expiryInCode = " Response.Cookies(\"theme\").Expires = \"March 10, 2027\"";

    vx::test::PickMenuCommand(*form, "Nederlands1");
    EXPECT_EQ(save->text(), "Opslaan");
    EXPECT_EQ(newFile->Hint(), "Nieuw bestand") << "the button's tooltip";
    EXPECT_EQ(fileMenu->title(), "Bestand");
    EXPECT_EQ(form->StatusBar1->PanelText(3), " IP-adres");
    EXPECT_EQ(frm_pref->windowTitle(), "Voorkeuren");
    EXPECT_EQ(frm_search->windowTitle(), "Zoeken");
    EXPECT_EQ(frm_pref->ComboBox1->itemText(0), "Engels");
    EXPECT_EQ(vx::FormatSettings().DecimalSeparator, ',') << "Dutch numbers";
    EXPECT_EQ(vx::FormatSettings().LongMonthNames[2], "maart");
    EXPECT_EQ(qtButtons.button(QDialogButtonBox::Cancel)->text(), "Annuleren") << "Qt's own texts";
    EXPECT_EQ(form->PageControl1->tabText(0), "page.htm") << "a tab names its file";
    EXPECT_EQ(form->PageControl1->tabText(1), "<leeg>");
    EXPECT_EQ(next->Caption(), "Volgende");
    EXPECT_EQ(keyword->text(), "Next") << "code stays code";
    EXPECT_EQ(calendar.StepButton(skNextYear)->toolTip(), "Volgend jaar");
    EXPECT_EQ(vx::CalendarTitle(vx::EncodeDate(2026, 12, 1)), "december 2026") << "a calendar's month";
    EXPECT_EQ(calendar.StepButton(skPrevYear)->toolTip(), "a year back");
    EXPECT_EQ(dueDate.windowTitle(), "Due date");
    EXPECT_TRUE(clockReads("H:mm:ss", "d-M-yyyy")) << "the status bar's clock and date: " << clock();
    EXPECT_EQ(cookieExpiry(), std::pair(std::string("10 maart 2027"), expiryInCode));

    vx::test::PickMenuCommand(*form, "English1");
    EXPECT_EQ(save->text(), "Save");
    EXPECT_EQ(newFile->Hint(), "New file");
    EXPECT_EQ(fileMenu->title(), "File");
    EXPECT_EQ(frm_pref->windowTitle(), "Preferences");
    EXPECT_EQ(frm_search->windowTitle(), "Search");
    EXPECT_EQ(vx::FormatSettings(), builtIn);
    EXPECT_EQ(qtButtons.button(QDialogButtonBox::Cancel)->text(), "Cancel");
    EXPECT_EQ(form->PageControl1->tabText(0), "page.htm");
    EXPECT_EQ(form->PageControl1->tabText(1), "<empty>");
    EXPECT_EQ(next->Caption(), "Next");
    EXPECT_EQ(calendar.StepButton(skNextYear)->toolTip(), "Next Year");
    EXPECT_EQ(vx::CalendarTitle(vx::EncodeDate(2026, 12, 1)), "December, 2026");
    EXPECT_EQ(calendar.StepButton(skPrevYear)->toolTip(), "a year back");
    EXPECT_TRUE(clockReads("h:mm:ss AP", "M/d/yyyy")) << clock();
    EXPECT_EQ(cookieExpiry(), std::pair(std::string("March 10, 2027"), expiryInCode));
    frm_search->hide();
}

// The table's wordings as Dutch writes them: one form for like reasons, no
// blank before a colon, no blanks pushing a caption aside, and a sentence
// whole where the English broke its line, which its control wraps or shows
// whole.
TEST_F(DutchTest, TheWordingsReadAsDutchWritesThem)
{
    StartAndActivate();
    form->show();
    PickMenuCommand(*form, "Nederlands1");
    const std::pair<const char*, const char*> reasons[] = {
        {"a function of it lies in no loaded library", "een functie ervan staat in geen enkele geladen bibliotheek"},
        {"a command's function lies in no loaded library",
         "de functie van een opdracht staat in geen enkele geladen bibliotheek"},
        {"Cannot open file %1 now: another program is saving it. Opening it again in a moment will work.",
         "Kan bestand %1 nu niet openen: een ander programma is het aan het opslaan. Over een ogenblik opnieuw "
         "openen lukt wel."},
        {"Could not keep a recovery copy of your text in ", "Kan geen herstelkopie van uw tekst bewaren in "},
        {"Image width too small for contained frames",
         "De afbeelding is niet breed genoeg voor de frames die ze bevat"},
        {"Image height too small for contained frames",
         "De afbeelding is niet hoog genoeg voor de frames die ze bevat"},
        {"Cannot open %1: every document already holds a file.\r\nClose one of them first.",
         "Kan %1 niet openen: in elk document staat al een bestand.\r\nSluit er eerst \u00e9\u00e9n."},
        {"Could not read %1:\r\n%2", "Kan %1 niet lezen:\r\n%2"},
    };
    for (const auto& [english, dutch] : reasons)
        EXPECT_EQ(LookUpRunTimeText(english), dutch);

    Focus(form->SlotEditor(1));
    EXPECT_TRUE(WaitFor([&] {
        form->Timer1Timer();
        return form->glob_stat->PanelText(3).rfind("Projecttijd: ", 0) == 0;
    })) << form->glob_stat->PanelText(3);

    Tfrm_dsncfg sources;
    sources.show();
    EXPECT_EQ(sources.Button1->text().toStdString(), "DSN toevoegen");
    EXPECT_EQ(sources.button4->text().toStdString(), "Systeem-DSN toevoegen");

    Activate(*frm_recorder);
    const TStrings& help = frm_recorder->Memo1->Lines();
    ASSERT_EQ(help.Count(), 3);
    EXPECT_EQ(help[2], "Met dit programma kunt u handelingen in de editor opnemen: u kunt bijvoorbeeld het maken van "
                       "een procedure opnemen, de opname opslaan en die weer afspelen wanneer u hetzelfde nog eens "
                       "wilt doen.");
    EXPECT_EQ(frm_recorder->Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth) << "the memo wraps the sentence";
    frm_recorder->hide();

    TAnimatorForm animator;
    animator.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&animator));
    animator.findChild<QTabWidget*>()->setCurrentWidget(animator.findChild<QWidget*>("OptionsTab"));
    for (const auto& [box, dutch] : {std::pair{"ThumbnailsBox", "Miniaturen tonen de beeldpositie"},
                                     std::pair{"AlwaysOnTop", "Hoofdvenster altijd op voorgrond"}}) {
        const auto* check = animator.findChild<QCheckBox*>(box);
        ASSERT_NE(check, nullptr) << box;
        EXPECT_EQ(check->text().toStdString(), dutch);
        const std::optional<TTextRoom> room = RoomOf(animator, check->text());
        ASSERT_TRUE(room.has_value()) << box;
        EXPECT_TRUE(room->Fits()) << box << " needs " << room->Needed << " px, has " << room->Room;
    }
}

// Dutch letters outside ASCII reach the windows as the characters the table
// holds, from the language file the build wrote.
TEST_F(DutchTest, DutchLettersShowAsTheirCharacters)
{
    StartAndActivate();
    form->show();
    PickMenuCommand(*form, "Nederlands1");
    const std::pair<QWidget*, QString> rows[] = {
        {form.get(), QString::fromUtf8(u8"Kopi\u00EBren")},
        {frm_pref, QString::fromUtf8(u8"Stijleditor Topstyle ge\u00EFnstalleerd?")},
    };
    for (const auto& [window, text] : rows) {
        const TShownTexts shown = ShownTexts(*window);
        EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&text](const auto& s) { return s.second == text; }))
            << text.toStdString() << " in " << window->objectName().toStdString();
    }
}

TEST_F(DutchTest, ThePrintDialogShowsOurDutchWhereQtsCatalogueHasNone)
{
    StartAndActivate();
    form->show();
    const TShownTexts english = PrintDialogTexts();
    PickMenuCommand(*form, "Nederlands1");
    const TShownTexts dutch = PrintDialogTexts();
    const std::pair<const char*, const char*> words[] = {{"Double Sided Printing", "Dubbelzijdig afdrukken"},
                                                         {"Long side binding", "Binden aan de lange zijde"},
                                                         {"Short side binding", "Binden aan de korte zijde"},
                                                         {"Off", "Uit"},
                                                         {"Printer", "Printer"},
                                                         {"Type:", "Type:"}};
    for (const auto& [inEnglish, inDutch] : words) {
        int places = 0;
        for (const auto& [place, text] : english)
            if (text == inEnglish) {
                ++places;
                const auto shown = dutch.find(place);
                ASSERT_NE(shown, dutch.end()) << place;
                EXPECT_EQ(vx::FromQString(shown->second), inDutch) << place;
            }
        EXPECT_GT(places, 0) << inEnglish;
    }
}

TEST_F(DutchTest, ALanguageSwitchLeavesWhatTheUserWroteAlone)
{
    StartAndActivate();
    TFrm_aspb beautifier(nullptr);
    beautifier.show();
    // The preferences' macros and the beautifier's word lists are the user's own.
    const std::pair<QWidget*, const char*> memos[] = {{frm_pref, "Memo1"}, {&beautifier, "indent2"}};
    for (const auto& [window, name] : memos) {
        auto* memo = window->findChild<QPlainTextEdit*>(name);
        ASSERT_NE(memo, nullptr) << name;
        memo->setPlainText("!mine\n=my own text");
    }
    const std::pair<const char*, const char*> switches[] = {{"Nederlands1", "Broncode opmaken"},
                                                           {"English1", "Source beautify"}};
    form->show();
    for (const auto& [language, title] : switches) {
        vx::test::PickMenuCommand(*form, language);
        EXPECT_EQ(beautifier.windowTitle(), title) << "the window itself follows the language";
        for (const auto& [window, name] : memos)
            EXPECT_EQ(window->findChild<QPlainTextEdit*>(name)->toPlainText(), "!mine\n=my own text")
                << name << " after " << language;
    }
}

TEST_F(DutchTest, TheStartLanguageChosenInThePreferencesComesBackAfterARestart)
{
    StartAndActivate();
    EXPECT_TRUE(TKAppLanguage::Instance().IsNativeCurrent());
    frm_pref->show();
    frm_pref->ComboBox1->setCurrentIndex(1);
    QTest::mouseClick(frm_pref->findChild<QPushButton*>("Button2"), Qt::LeftButton);

    // A new process starts in the built-in language.
    form.reset();
    TKAppLanguage::Instance().SetLanguage("Native");
    TRegistry::ResetStoreForTests();
    StartAndActivate();
    EXPECT_EQ(TKAppLanguage::Instance().CurrentLanguage(), "Nederlands");
    EXPECT_EQ(form->findChild<QAction*>("Save1")->text(), "Opslaan");
    EXPECT_EQ(frm_pref->windowTitle(), "Voorkeuren");
    EXPECT_EQ(frm_pref->ComboBox1->currentIndex(), 1);
}

TEST_F(DutchTest, ADocumentsTabKeepsItsCaptionInEveryLanguage)
{
    const std::string page = WriteDoc("page.asp", "page\r\n");
    const std::string kept = WriteDoc("kept.asp", "kept\r\n");
    StartAndActivate({page});
    form->show();
    form->OpenDocumentInFreeSlot(kept, true);
    Focus(form->SlotEditor(3));
    QTest::keyClicks(form->SlotEditor(3), "typed, no file");
    std::vector<QString> captions;
    for (int i = 0; i < form->PageControl1->count(); ++i)
        captions.push_back(form->PageControl1->tabText(i));
    ASSERT_GT(captions.size(), 5u) << "the workspaces too";
    EXPECT_EQ(captions[0], "page.asp");
    EXPECT_EQ(captions[2], "<empty>") << "a document without a file";
    for (const char* language : {"Nederlands1", "English1", "Nederlands1"}) {
        vx::test::PickMenuCommand(*form, language);
        const bool dutch = std::string_view(language) == "Nederlands1";
        for (int i = 0; i < form->PageControl1->count(); ++i) {
            const QString& caption = captions[static_cast<std::size_t>(i)];
            EXPECT_EQ(form->PageControl1->tabText(i), caption == "<empty>" && dutch ? "<leeg>" : caption)
                << "tab " << i << " after " << language;
        }
    }
    EXPECT_EQ(Text(form->SlotEditor(3)), "typed, no file\r\n");
}

} // namespace
} // namespace vx::test
