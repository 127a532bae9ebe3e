#include "platform/qt/Dialogs.h"

#include "platform/AnsiText.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QColorDialog>
#include <QFileDialog>
#include <QFont>
#include <QFontDialog>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBoundaryFinder>

#include <utility>

namespace vx::dialogs {

namespace {

Answerer& answerer()
{
    static Answerer instance;
    return instance;
}

std::string applicationTitle()
{
    return FromQString(QCoreApplication::applicationName());
}

// Button bits in the platform's order, with Qt's buttons and the results they give.
struct ButtonInfo {
    TMsgDlgButtons bit;
    QMessageBox::StandardButton qt;
    int result;
};
constexpr ButtonInfo kButtons[] = {
    {mbYes, QMessageBox::Yes, mrYes},       {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},          {mbAbort, QMessageBox::Abort, mrAbort},
    {mbRetry, QMessageBox::Retry, mrRetry}, {mbIgnore, QMessageBox::Ignore, mrIgnore},
    {mbCancel, QMessageBox::Cancel, mrCancel},
};

Request makeRequest(Kind kind, std::string caption = {}, std::string text = {}, std::string initial = {})
{
    Request request;
    request.kind = kind;
    request.caption = std::move(caption);
    request.text = std::move(text);
    request.initial = std::move(initial);
    return request;
}

QMessageBox::Icon iconOf(TMsgDlgType type)
{
    switch (type) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    case mtCustom: break;
    }
    return QMessageBox::NoIcon;
}

// A box breaks its lines between words, and cuts at its right edge a run of
// characters wider than itself with no place to break (a file name of 255
// bytes). A run longer than the narrowest box holds in a line may break after
// any of its characters, at the zero-width spaces put between them.
constexpr QChar LineBreakChance(0x200B);

QString BreakableAnywhereInLongRuns(const QString& text)
{
    constexpr qsizetype LongestRun = 60;
    QString shown;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        const QString run = text.mid(start, end - start);
        if (run.size() <= LongestRun) {
            shown += run;
        } else {
            QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, run);
            qsizetype from = 0;
            for (qsizetype to = characters.toNextBoundary(); to > 0; to = characters.toNextBoundary()) {
                if (from > 0)
                    shown += LineBreakChance;
                shown += run.mid(from, to - from);
                from = to;
            }
        }
        for (start = end; start < text.size() && text[start].isSpace(); ++start)
            shown += text[start];
    }
    return shown;
}

// What the box copies (Ctrl+C, a selection of its text) is the text as it
// came: a file name pasted elsewhere must not carry the breaks put into it.
// Only a copy of the box's own text is touched: what another program puts
// on the clipboard meanwhile is its own, whatever it holds.
void CopyWithoutBreaks(const QMessageBox& box, const QString& shown)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const QClipboard::Mode mode : {QClipboard::Clipboard, QClipboard::Selection}) {
        const auto changed = mode == QClipboard::Clipboard ? &QClipboard::dataChanged : &QClipboard::selectionChanged;
        // The box shows and copies its line ends as plain ones, however they came.
        QObject::connect(clipboard, changed, &box, [clipboard, mode, lines = QString(shown).remove('\r')] {
            QString copied = clipboard->text(mode);
            const QString copiedLines = QString(copied).remove('\r');
            // A selection of the text is part of it; the box's Ctrl+C copies
            // all of it with the caption and buttons around.
            const bool ours =
                copied.contains(LineBreakChance) && (lines.contains(copiedLines) || copiedLines.contains(lines));
            if (ours)
                clipboard->setText(copied.remove(LineBreakChance), mode);
        });
    }
}

// defaultIndex: which of the offered buttons (in the platform's order) is the default.
int showMessage(const std::string& caption, const std::string& text, TMsgDlgType type,
                TMsgDlgButtons buttons, int defaultIndex)
{
    if (answerer()) {
        Request request = makeRequest(Kind::Message, caption, text);
        request.type = type;
        request.buttons = buttons;
        return answerer()(request).result;
    }
    QMessageBox box(iconOf(type), ToQString(caption), {}, QMessageBox::NoButton, QApplication::activeWindow());
    // What a box says is text, never markup: a file name like "<b>x</b>.html"
    // or a server's reply shows as it came, with its line breaks.
    box.setTextFormat(Qt::PlainText);
    const QString shown = BreakableAnywhereInLongRuns(ToQString(text));
    box.setText(shown);
    if (shown != ToQString(text))
        CopyWithoutBreaks(box, shown);
    int index = 0;
    for (const ButtonInfo& b : kButtons) {
        if (!(buttons & b.bit))
            continue;
        QPushButton* button = box.addButton(b.qt);
        if (index++ == defaultIndex)
            box.setDefaultButton(button);
    }
    box.exec();
    QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const ButtonInfo& b : kButtons)
        if (b.qt == pressed)
            return b.result;
    return buttons & mbCancel ? mrCancel : mrNone;
}


std::string withDefaultExtension(std::string path, const std::string& defaultExt)
{
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (!path.empty() && !defaultExt.empty() && (dot == std::string::npos || (slash != std::string::npos && dot < slash)))
        path += "." + defaultExt;
    return path;
}

FileChoice fileDialog(Request request)
{
    FileChoice choice;
    if (answerer()) {
        const Answer answer = answerer()(request);
        if (answer.result == mrOk) {
            choice.path = withDefaultExtension(answer.path, request.defaultExt);
            choice.readOnly = request.offersReadOnly && answer.readOnly;
        }
        return choice;
    }
    QFileDialog dialog(QApplication::activeWindow(), ToQString(request.caption), ToQPath(request.initial),
                       ToQString(QtFilter(request.text)));
    const bool open = request.kind == Kind::OpenFile;
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(ToQString(request.defaultExt));
    const QStringList filters = dialog.nameFilters();
    if (request.filterIndex > 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    QCheckBox* readOnly = nullptr;
    if (request.offersReadOnly) {
        // The platform's own dialog cannot carry the box.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        readOnly = new QCheckBox(ToQString(request.readOnlyBox), &dialog);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(readOnly, grid->rowCount(), 0, 1, -1);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return choice;
    choice.path = FromQPath(dialog.selectedFiles().first());
    choice.readOnly = readOnly && readOnly->isChecked();
    return choice;
}

Request fileRequest(Kind kind, const std::string& caption, const std::string& filter, const std::string& initial,
                    const std::string& defaultExt)
{
    Request request = makeRequest(kind, caption, filter, initial);
    request.defaultExt = defaultExt;
    return request;
}

QColor toQColor(std::uint32_t color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>(color >> 8 & 0xFF), static_cast<int>(color >> 16 & 0xFF));
}

std::uint32_t fromQColor(const QColor& color)
{
    return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8
        | static_cast<std::uint32_t>(color.blue()) << 16;
}

// The patterns of one filter entry in Qt's form: blank-separated, "*" for all files.
std::string qtPatterns(std::string_view patterns)
{
    std::string result;
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string_view::npos)
            end = patterns.size();
        std::string pattern = Trim(patterns.substr(start, end - start));
        if (pattern == "*.*")
            pattern = "*";
        if (!pattern.empty())
            result += (result.empty() ? "" : " ") + pattern;
        start = end + 1;
    }
    return result.empty() ? "*" : result;
}

} // namespace

void SetAnswerer(Answerer a)
{
    answerer() = std::move(a);
}

std::string QtFilter(std::string_view filter)
{
    std::string result;
    size_t pos = 0;
    while (pos < filter.size()) {
        size_t bar = filter.find('|', pos);
        std::string description = Trim(filter.substr(pos, bar == std::string_view::npos ? bar : bar - pos));
        std::string_view patterns;
        if (bar == std::string_view::npos) {
            pos = filter.size();
        } else {
            size_t next = filter.find('|', bar + 1);
            patterns = filter.substr(bar + 1, next == std::string_view::npos ? next : next - bar - 1);
            pos = next == std::string_view::npos ? filter.size() : next + 1;
        }
        // Qt shows the patterns after the description; drop them when the
        // description already ends with them.
        std::string shown = "(" + std::string(patterns) + ")";
        if (description.size() > shown.size() && description.ends_with(shown))
            description = TrimRight(std::string_view(description).substr(0, description.size() - shown.size()));
        if (!result.empty())
            result += ";;";
        result += description + " (" + qtPatterns(patterns) + ")";
    }
    return result;
}

std::string OpenFile(const std::string& caption, const std::string& filter, const std::string& initial,
                     const std::string& defaultExt, int filterIndex)
{
    Request request = fileRequest(Kind::OpenFile, caption, filter, initial, defaultExt);
    request.filterIndex = filterIndex;
    return fileDialog(std::move(request)).path;
}

std::string SaveFile(const std::string& caption, const std::string& filter, const std::string& initial,
                     const std::string& defaultExt)
{
    return fileDialog(fileRequest(Kind::SaveFile, caption, filter, initial, defaultExt)).path;
}

FileChoice OpenFileOfferingReadOnly(const std::string& caption, const std::string& filter,
                                    const std::string& defaultExt, const std::string& readOnlyBox)
{
    Request request = fileRequest(Kind::OpenFile, caption, filter, "", defaultExt);
    request.offersReadOnly = true;
    request.readOnlyBox = readOnlyBox;
    return fileDialog(std::move(request));
}

bool ChooseColor(std::uint32_t& color)
{
    if (answerer()) {
        Request request = makeRequest(Kind::Color);
        request.color = color;
        Answer answer = answerer()(request);
        if (answer.result != mrOk)
            return false;
        color = answer.color & 0xFFFFFF;
        return true;
    }
    QColor chosen = QColorDialog::getColor(toQColor(color), QApplication::activeWindow());
    if (!chosen.isValid())
        return false;
    color = fromQColor(chosen);
    return true;
}

bool ChooseFont(FontChoice& font)
{
    if (answerer()) {
        Request request = makeRequest(Kind::Font);
        request.font = font;
        Answer answer = answerer()(request);
        if (answer.result != mrOk)
            return false;
        font = answer.font;
        return true;
    }
    QFont initial(ToQString(font.name), font.size > 0 ? font.size : -1);
    initial.setBold(font.bold);
    initial.setItalic(font.italic);
    initial.setUnderline(font.underline);
    initial.setStrikeOut(font.strikeOut);
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, initial, QApplication::activeWindow());
    if (!ok)
        return false;
    font.name = FromQString(chosen.family());
    font.size = chosen.pointSize();
    font.bold = chosen.bold();
    font.italic = chosen.italic();
    font.underline = chosen.underline();
    font.strikeOut = chosen.strikeOut();
    return true;
}

std::string ChooseFolder(const std::string& caption, const std::string& initial)
{
    if (answerer()) {
        Answer answer = answerer()(makeRequest(Kind::Folder, caption, "", initial));
        return answer.result == mrOk ? answer.path : std::string();
    }
    return FromQPath(QFileDialog::getExistingDirectory(QApplication::activeWindow(), ToQString(caption), ToQPath(initial)));
}

} // namespace vx::dialogs

void ShowMessage(const std::string& text)
{
    vx::dialogs::showMessage(vx::dialogs::applicationTitle(), text, mtCustom, mbOK, 0);
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    // Worded in the program's language through Qt's translation, which the language layer answers.
    static const char* const captions[] = {"Warning", "Error", "Information", "Confirm"};
    std::string caption = type == mtCustom ? vx::dialogs::applicationTitle()
                                           : vx::FromQString(QCoreApplication::translate("MessageDlg", captions[type]));
    return vx::dialogs::showMessage(caption, text, type, buttons, 0);
}

int MessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    static constexpr TMsgDlgButtons sets[] = {mbOK, mbOKCancel, mbAbortRetryIgnore, mbYesNoCancel, mbYesNo, mbRetry | mbCancel};
    unsigned setIndex = flags & 0xF;
    TMsgDlgButtons buttons = setIndex < std::size(sets) ? sets[setIndex] : mbOK;
    TMsgDlgType type = mtCustom;
    switch (flags & 0xF0) {
    case MB_ICONERROR: type = mtError; break;
    case MB_ICONQUESTION: type = mtConfirmation; break;
    case MB_ICONWARNING: type = mtWarning; break;
    case MB_ICONINFORMATION: type = mtInformation; break;
    default: break;
    }
    return vx::dialogs::showMessage(caption, text, type, buttons, static_cast<int>(flags >> 8 & 0xF));
}
