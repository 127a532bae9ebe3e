// Text outside ASCII in the shown editor: a UTF-8 page, a Windows-1252 file
// holding every byte from 0x80 up, and a new document. Keys, the mouse, the
// clipboard and painting go by whole characters, a wide character takes two
// cells, a combining accent none, and a Windows-1252 document refuses what it
// cannot store. A seeded random run edits by character against a plain list
// of code points.
#include "editor/qt/mwCustomEdit.h"
#include "platform/TextEncoding.h"
#include "platform/Utf8.h"
#include "tests/editor/support/EditRender.h"
#include "tests/editor/support/EditorKeys.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace {

enum class TDocument { Utf8Page, Windows1252File, New };

// Every byte the Windows-1252 code page has above ASCII, the five it leaves
// unassigned included.
std::string HighBytes()
{
    std::string bytes;
    for (int c = 0x80; c <= 0xFF; ++c)
        bytes += static_cast<char>(c);
    return bytes;
}

struct Utf8Edit : ::testing::Test {
    Utf8Edit()
    {
        edit.resize(600, 200);
        edit.show();
        edit.activateWindow();
        edit.setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&edit));
        m.OnTextRefused = [this](TmwCustomEditModel*, const std::string& text) { refused.push_back(text); };
    }

    // Opens a document as the main window does: its bytes decoded.
    void Open(TDocument document, std::string bytes = {})
    {
        if (document == TDocument::Windows1252File)
            bytes = HighBytes();
        if (document == TDocument::New)
            bytes.clear();
        vx::TDecodedText decoded = vx::DecodeDocument(bytes);
        m.SetText(decoded.Text);
        m.SetEncoding(decoded.Encoding);
        m.SetCaretXY(Point(1, 1));
    }
    std::string Saved() const { return *vx::EncodeDocument(m.GetText(), m.Encoding()); }
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&edit, static_cast<Qt::Key>(key), modifiers); }
    // A key press that gives text, as the keyboard or an input method's
    // picker sends it: characters beyond the basic plane come whole.
    void Type(const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(&edit, &press);
    }
    QPoint CellPixel(int displayColumn, int line) const
    {
        return QPoint(m.TextOffset() + (displayColumn - 1) * m.CharWidth() + 1,
                      (line - m.TopLine()) * m.LineHeight() + m.LineHeight() / 2);
    }
    void Click(QPoint pos)
    {
        QTest::mouseClick(edit.viewport(), Qt::LeftButton, Qt::NoModifier, pos);
    }

    TmwCustomEdit edit;
    TmwCustomEditModel& m = edit.Model();
    std::vector<std::string> refused;
};

// The characters the tests type, one key press each.
const QString kTyped[] = {QString::fromUtf8("é"), QString::fromUtf8("€"), QString::fromUtf8("ß"),
                          QString::fromUtf8("α"), QString::fromUtf8("ж"), QString::fromUtf8("你"),
                          QString::fromUtf8("😀")};

TEST_F(Utf8Edit, TypedCharactersGoInWholeOrAreRefused)
{
    struct Row {
        TDocument document;
        const char* saved; // after typing every character of kTyped at the start
        size_t refusals;
    };
    const std::string high = HighBytes();
    const Row rows[] = {
        {TDocument::Utf8Page, "é€ßαж你😀<p>x</p>", 0},
        {TDocument::New, "é€ßαж你😀", 0},
        // α, ж, 你 and 😀 have no byte in Windows-1252.
        {TDocument::Windows1252File, nullptr, 4},
    };
    for (const Row& row : rows) {
        refused.clear();
        Open(row.document, "<p>x</p>");
        for (const QString& c : kTyped)
            Type(c);
        const std::string want = row.saved ? row.saved : "\xE9\x80\xDF" + high;
        EXPECT_EQ(Saved(), want + "\r\n");
        EXPECT_EQ(refused.size(), row.refusals);
        EXPECT_TRUE(vx::utf8::IsValid(m.GetText()));
    }
}

TEST_F(Utf8Edit, KeysStepOverWholeCharacters)
{
    struct Step {
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    struct Row {
        const char* line;
        std::vector<Step> keys;
        const char* after;      // the line afterwards
        int characterColumn;    // where the caret is, in characters
        int displayColumn;      // and in cells
        const char* selected;
    };
    const Qt::KeyboardModifiers none;
    const Row rows[] = {
        {"aé€ß", {{Qt::Key_End, none}, {Qt::Key_Left, none}}, "aé€ß", 4, 4, ""},
        {"aé€ß", {{Qt::Key_End, none}, {Qt::Key_Left, none}, {Qt::Key_Left, none}, {Qt::Key_Backspace, none}},
         "a€ß", 2, 2, ""},
        {"aé€ß", {{Qt::Key_Home, none}, {Qt::Key_Right, none}, {Qt::Key_Delete, none}}, "a€ß", 2, 2, ""},
        {"你😀x", {{Qt::Key_End, none}, {Qt::Key_Left, none}, {Qt::Key_Left, none}, {Qt::Key_Backspace, none}},
         "😀x", 1, 1, ""},
        {"你😀x", {{Qt::Key_Home, none}, {Qt::Key_Right, none}, {Qt::Key_Right, none}}, "你😀x", 3, 5, ""},
        // A tab goes to the next stop of eight cells, counted after the wide character's two.
        {"你\tx", {{Qt::Key_End, none}, {Qt::Key_Left, none}}, "你\tx", 3, 9, ""},
        {"café bar", {{Qt::Key_Home, none}, {Qt::Key_Right, Qt::ControlModifier}}, "café bar", 6, 6, ""},
        {"жизнь да", {{Qt::Key_End, none}, {Qt::Key_Left, Qt::ControlModifier}}, "жизнь да", 7, 7, ""},
        {"aé€ß", {{Qt::Key_Home, none}, {Qt::Key_Right, none}, {Qt::Key_Right, Qt::ShiftModifier},
                    {Qt::Key_Right, Qt::ShiftModifier}}, "aé€ß", 4, 4, "é€"},
        {"aé€ß", {{Qt::Key_End, none}, {Qt::Key_Left, Qt::ShiftModifier}, {Qt::Key_Left, Qt::ShiftModifier},
                    {Qt::Key_Backspace, none}}, "aé", 3, 3, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        Open(TDocument::Utf8Page, row.line);
        for (const Step& step : row.keys)
            Key(step.key, step.modifiers);
        EXPECT_EQ(m.Lines()[0], row.after);
        EXPECT_EQ(m.CharacterColumn(m.CaretXY()), row.characterColumn);
        EXPECT_EQ(m.DisplayColumn(m.CaretXY()), row.displayColumn);
        EXPECT_EQ(m.GetSelText(), row.selected);
    }
}

TEST_F(Utf8Edit, UpAndDownKeepTheColumnTheCaretShowsIn)
{
    Open(TDocument::Utf8Page, "你好xy\r\nabcdefg\r\nééééé");
    m.SetCaretXY(Point(7, 1)); // after 你好: cell 5
    Key(Qt::Key_Down);
    EXPECT_EQ(m.CaretXY(), Point(5, 2));
    Key(Qt::Key_Down);
    EXPECT_EQ(m.CharacterColumn(m.CaretXY()), 5);
    EXPECT_EQ(m.CaretX(), 9) << "after four characters of two bytes";
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(m.CaretXY(), Point(7, 1));
}

TEST_F(Utf8Edit, AClickLandsBetweenCharacters)
{
    Open(TDocument::Utf8Page, "éé你x");
    struct Row {
        int cell;            // the cell clicked in its left half
        int characterColumn; // where the caret goes
    };
    // Cells: é 1, é 2, 你 3-4, x 5. A click in a wide character's right
    // half goes before it too: the boundary after it is further.
    // Past the end the caret goes on a column a cell.
    const Row rows[] = {{1, 1}, {2, 2}, {3, 3}, {4, 3}, {5, 4}, {6, 5}, {9, 8}};
    for (const Row& row : rows) {
        Click(CellPixel(row.cell, 1));
        EXPECT_EQ(m.CharacterColumn(m.CaretXY()), row.characterColumn) << "cell " << row.cell;
        EXPECT_EQ(m.InsideCharacters(1, m.CaretX()), m.CaretX()) << "never inside a character";
    }
}

TEST_F(Utf8Edit, OtherProgramsGetAndGiveCharacters)
{
    Open(TDocument::Utf8Page, "é € ß α ж 你 😀");
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("é € ß α ж 你 😀"));

    QGuiApplication::clipboard()->setText(QString::fromUtf8("é€α你😀"));
    Open(TDocument::New);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m.GetText(), "é€α你😀\r\n");

    refused.clear();
    Open(TDocument::Windows1252File);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Saved(), HighBytes() + "\r\n") << "the paste holds characters the file cannot store: nothing goes in";
    EXPECT_EQ(refused, std::vector<std::string>{"é€α你😀"});
    QGuiApplication::clipboard()->setText(QString::fromUtf8("é€"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Saved(), "\xE9\x80" + HighBytes() + "\r\n");
}

TEST_F(Utf8Edit, EveryByteOfAWindows1252FileIsACharacterOfItsOwn)
{
    Open(TDocument::Windows1252File);
    EXPECT_EQ(m.Encoding(), vx::TTextEncoding::Windows1252);
    Key(Qt::Key_End);
    EXPECT_EQ(m.CharacterColumn(m.CaretXY()), 129);
    EXPECT_EQ(m.DisplayColumn(m.CaretXY()), 129) << "one cell a byte";
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Backspace);
    Key(Qt::Key_Home);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Saved(), HighBytes().substr(1, 124) + "\r\n") << "each key took one byte's character";
}

// Each character is drawn in its cells: what follows a character of several
// bytes is drawn where it is drawn after as many cells of blanks.
TEST_F(Utf8Edit, ACharacterIsDrawnInItsCells)
{
    edit.setFocus(); // the caret is drawn only where it is; keep it away
    const char* const rows[][2] = {
        {"aéb", "a b"},
        {"a你b", "a  b"},
        {"a😀b", "a  b"},
        {"你\tb", "  \tb"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        Open(TDocument::Utf8Page, std::string(row[0]) + "\r\n");
        m.SetCaretXY(Point(1, 2));
        const QImage wide = vx::test::RenderEdit(edit);
        Open(TDocument::Utf8Page, std::string(row[1]) + "\r\n");
        m.SetCaretXY(Point(1, 2));
        const QImage blanks = vx::test::RenderEdit(edit);
        const int b = m.DisplayColumn(Point(static_cast<int>(m.Lines()[0].size()), 1));
        const QRect cell(m.TextOffset() + (b - 1) * m.CharWidth(), 0, m.CharWidth(), m.LineHeight());
        EXPECT_EQ(wide.copy(cell), blanks.copy(cell)) << "b drawn in the same cell";
        const int first = row[0][0] == 'a' ? 2 : 1;
        EXPECT_GT(vx::test::CellInk(edit, wide, Point(first, 1)), 0) << "the character itself is drawn";
        const QRect after(cell.right() + 1, 0, 3 * m.CharWidth(), m.LineHeight());
        EXPECT_EQ(wide.copy(after), blanks.copy(after)) << "nothing drawn past the text";
    }
}

// "é" written as e and a combining acute accent, the way some programs and
// keyboards write it.
const std::string kAcute = "\xCC\x81";
const std::string kDecomposed = "e" + kAcute;

// A letter and the accent after it are one character on screen: one cell,
// one step of the caret, one column of the status bar, taken whole by clicks,
// selections and Delete; Backspace takes the accent off.
TEST_F(Utf8Edit, ALetterAndItsAccentAreOneCharacter)
{
    struct Step {
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    struct Row {
        std::string line;
        std::vector<Step> keys;
        std::string after;   // the line afterwards
        int caretX;          // where the caret is, in bytes
        int displayColumn;   // in cells
        int characterColumn; // as the status bar counts
        std::string selected;
    };
    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers controlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const std::string e = kDecomposed;
    const std::string wideWithMark = "\xE4\xBD\xA0\xE3\x82\x99"; // a wide character with a mark
    const Row rows[] = {
        {e + "y", {{Qt::Key_Home, none}, {Qt::Key_Right, none}}, e + "y", 4, 2, 2, ""},
        {"x" + e + "y", {{Qt::Key_End, none}, {Qt::Key_Left, none}, {Qt::Key_Left, none}}, "x" + e + "y", 2, 2, 2, ""},
        {e + e + "y", {{Qt::Key_End, none}}, e + e + "y", 8, 4, 4, ""},
        {e + "y", {{Qt::Key_Home, none}, {Qt::Key_Delete, none}}, "y", 1, 1, 1, ""},
        {e + "y", {{Qt::Key_Home, none}, {Qt::Key_Right, none}, {Qt::Key_Backspace, none}}, "ey", 2, 2, 2, ""},
        {e + "y", {{Qt::Key_Home, none}, {Qt::Key_Right, shift}}, e + "y", 4, 2, 2, e},
        {"a" + e + "b", {{Qt::Key_End, none}, {Qt::Key_Left, shift}, {Qt::Key_Left, shift}}, "a" + e + "b", 2, 2, 2,
         e + "b"},
        {"a" + e + "b", {{Qt::Key_Home, none}, {Qt::Key_Right, none}, {Qt::Key_Right, controlShift}}, "a" + e + "b",
         6, 4, 4, e + "b"},
        {"ab " + e + "t", {{Qt::Key_End, none}, {Qt::Key_Left, Qt::ControlModifier}}, "ab " + e + "t", 4, 4, 4, ""},
        {e + kAcute + "y", {{Qt::Key_Home, none}, {Qt::Key_Right, none}}, e + kAcute + "y", 6, 2, 2, ""},
        {wideWithMark + "y", {{Qt::Key_Home, none}, {Qt::Key_Right, none}}, wideWithMark + "y", 7, 3, 2, ""},
        // A tab goes on to the next stop of eight cells, and the Tab key's
        // blanks to it: the accent takes none.
        {e + "\ty", {{Qt::Key_End, none}, {Qt::Key_Left, none}}, e + "\ty", 5, 9, 3, ""},
        {e + "y", {{Qt::Key_Home, none}, {Qt::Key_Right, none}, {Qt::Key_Tab, none}}, e + "       y", 11, 9, 9, ""},
        // With nothing before it, an accent keeps a cell of its own, and the
        // caret can stand before and after it; as a character no column counts it.
        {kAcute + "y", {{Qt::Key_Home, none}, {Qt::Key_Right, none}}, kAcute + "y", 3, 2, 1, ""},
        {kAcute + kAcute + "y", {{Qt::Key_End, none}, {Qt::Key_Left, none}}, kAcute + kAcute + "y", 5, 2, 1, ""},
        {kAcute + "y", {{Qt::Key_End, none}, {Qt::Key_Backspace, none}, {Qt::Key_Backspace, none}}, "", 1, 1, 1, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.line));
        Open(TDocument::Utf8Page, row.line);
        for (const Step& step : row.keys)
            Key(step.key, step.modifiers);
        EXPECT_EQ(m.Lines()[0], row.after);
        EXPECT_EQ(m.CaretX(), row.caretX);
        EXPECT_EQ(m.DisplayColumn(m.CaretXY()), row.displayColumn);
        EXPECT_EQ(m.CharacterColumn(m.CaretXY()), row.characterColumn);
        EXPECT_EQ(m.GetSelText(), row.selected);
    }
}

TEST_F(Utf8Edit, UpAndDownPassAnAccentAsNoCell)
{
    Open(TDocument::Utf8Page, "a" + kDecomposed + "bc\r\nwxyz");
    m.SetCaretXY(Point(5, 1)); // after é: cell 3
    Key(Qt::Key_Down);
    EXPECT_EQ(m.CaretXY(), Point(3, 2));
    Key(Qt::Key_Right);
    Key(Qt::Key_Up);
    EXPECT_EQ(m.CaretXY(), Point(6, 1)) << "after b: cell 4";
    Key(Qt::Key_Left);
    Key(Qt::Key_Up);
    Key(Qt::Key_Down);
    EXPECT_EQ(m.CaretXY(), Point(3, 2));
}

TEST_F(Utf8Edit, SmartTabsGoToTheCellOfTheWordAbove)
{
    Open(TDocument::Utf8Page, kDecomposed + "  word\r\nx");
    m.SetCaretXY(Point(1, 2));
    Key(Qt::Key_Tab);
    EXPECT_EQ(m.Lines()[1], "   x") << "word starts in cell 4";
    EXPECT_EQ(m.DisplayColumn(m.CaretXY()), 4);
}

TEST_F(Utf8Edit, AClickOnAnAccentedLetterLandsBeforeOrAfterIt)
{
    Open(TDocument::Utf8Page, "a" + kDecomposed + "b");
    struct Row {
        int cell;
        bool rightHalf;
        int caretX; // in bytes
    };
    // Cells: a 1, é 2, b 3.
    const Row rows[] = {{2, false, 2}, {2, true, 5}, {3, false, 5}, {3, true, 6}, {1, true, 2}};
    for (const Row& row : rows) {
        QPoint pixel = CellPixel(row.cell, 1);
        if (row.rightHalf)
            pixel.rx() += m.CharWidth() - 3;
        Click(pixel);
        EXPECT_EQ(m.CaretX(), row.caretX) << "cell " << row.cell << (row.rightHalf ? " right" : " left");
    }
    // A drag across it selects it whole, whichever way it goes.
    QTest::mousePress(edit.viewport(), Qt::LeftButton, Qt::NoModifier, CellPixel(2, 1));
    QTest::mouseMove(edit.viewport(), CellPixel(3, 1) - QPoint(2, 0));
    QTest::mouseRelease(edit.viewport(), Qt::LeftButton, Qt::NoModifier, CellPixel(3, 1) - QPoint(2, 0));
    EXPECT_EQ(m.GetSelText(), kDecomposed);
}

TEST_F(Utf8Edit, AColumnBlockCountsAnAccentAsNoColumn)
{
    Open(TDocument::Utf8Page, kDecomposed + "bc\r\nxyz");
    m.SetSelectionMode(smColumn);
    Click(CellPixel(2, 1));
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, Qt::ShiftModifier, CellPixel(3, 2));
    EXPECT_EQ(m.GetSelText(), "b\r\ny");
    Key(Qt::Key_Delete);
    EXPECT_EQ(m.GetText(), kDecomposed + "c\r\nxz\r\n");
}

// The accent is drawn with its letter, in its cell, as the font composes
// them: as the precomposed letter is drawn, with nothing in a cell of its own.
TEST_F(Utf8Edit, AnAccentIsDrawnWithItsLetter)
{
    edit.setFocus();
    auto render = [&](const std::string& line) {
        Open(TDocument::Utf8Page, line + "\r\n");
        m.SetCaretXY(Point(1, 2));
        return vx::test::RenderEdit(edit);
    };
    const QImage decomposed = render("a" + kDecomposed + "b");
    const QImage precomposed = render("a\xC3\xA9" "b");
    const QImage plain = render("aeb");
    const QRect line(0, 0, decomposed.width(), m.LineHeight());
    EXPECT_EQ(decomposed.copy(line), precomposed.copy(line)) << "é drawn in one cell, b in the next";
    const QRect letter(m.TextOffset() + m.CharWidth(), 0, m.CharWidth(), m.LineHeight());
    EXPECT_NE(decomposed.copy(letter), plain.copy(letter)) << "the accent is drawn";
}

// A plain model of the text: lines of code points, the caret and the
// selection's two ends, each a line and a character index. The zero-width
// characters of the runs (a combining acute, a joiner, a variation
// selector) join the character before them: nothing stands between them.
struct TPlain {
    using TPlace = std::pair<size_t, size_t>;
    std::vector<std::u32string> lines{U""};
    TPlace caret{0, 0};
    TPlace anchor{0, 0};
    TPlace moving{0, 0};

    static bool ZeroWidth(char32_t c) { return c == 0x301 || c == 0x200D || c == 0xFE0F; }
    // Whether index i of line is between characters that show apart.
    bool AtPlace(TPlace p) const
    {
        const std::u32string& line = lines[p.first];
        return p.second == 0 || p.second >= line.size() || !ZeroWidth(line[p.second]);
    }
    std::u32string& CaretLine() { return lines[caret.first]; }
    void Collapse() { anchor = moving = caret; }
    // On past the zero-width characters that a change put after the
    // character before the caret.
    void Settle()
    {
        while (!AtPlace(caret))
            ++caret.second;
    }
    void Right()
    {
        ++caret.second;
        Settle();
    }
    void Left()
    {
        --caret.second;
        while (!AtPlace(caret))
            --caret.second;
    }
    // Takes the selected characters out, the caret to where they were; true
    // when there were some.
    bool DeleteSelection()
    {
        if (anchor == moving)
            return false;
        const TPlace from = std::min(anchor, moving);
        const TPlace to = std::max(anchor, moving);
        lines[from.first] = lines[from.first].substr(0, from.second) + lines[to.first].substr(to.second);
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(from.first) + 1,
                    lines.begin() + static_cast<std::ptrdiff_t>(to.first) + 1);
        caret = from;
        Settle();
        Collapse();
        return true;
    }
    // Takes the text, the caret and the selection from the editor, as undo
    // and redo leave them.
    void Follow(const TmwCustomEditModel& m)
    {
        lines.clear();
        for (int i = 0; i < m.LineCount(); ++i) {
            const std::string& bytes = m.Lines()[i];
            std::u32string& line = lines.emplace_back();
            for (size_t b = 0, length = 0; b < bytes.size(); b += length)
                line += vx::utf8::Decode(bytes, b, &length);
        }
        auto place = [&](TPoint p) {
            const std::string& bytes = m.Lines()[p.Y - 1];
            size_t index = 0;
            for (size_t b = 0, length = 0; b < static_cast<size_t>(p.X - 1); b += length, ++index)
                vx::utf8::Decode(bytes, b, &length);
            return TPlace{static_cast<size_t>(p.Y - 1), index};
        };
        caret = place(m.CaretXY());
        anchor = place(m.RawBlockBegin());
        moving = place(m.RawBlockEnd());
        if (!m.SelAvail())
            Collapse();
    }
    std::string Text() const
    {
        std::string text;
        for (const std::u32string& l : lines) {
            for (char32_t c : l)
                vx::utf8::Append(text, c);
            text += "\r\n";
        }
        return text;
    }
};

TEST(Utf8RandomEdits, EditsByCharacterAgreeWithAListOfCodePoints)
{
    const char32_t alphabet[] = {U'a', U'b', U'z', U'{', 0xE9,  0x20AC, 0xDF,
                                 0x3B1, 0x436, 0x4F60, 0x1F600, 0x301, 0x200D, 0xFE0F};
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
        TmwCustomEditModel m;
        // No blanks are typed and lines do not indent: the plain model needs
        // no trimming or indenting rules.
        m.SetOptions(m.Options() & ~(mweoAutoIndent | mweoScrollPastEol));
        m.SetMaxUndo(100000);
        TPlain plain;
        std::vector<std::string> undone; // the texts redo brings back, latest last
        auto caretPoint = [&] {
            std::string prefix;
            for (size_t i = 0; i < plain.caret.second; ++i)
                vx::utf8::Append(prefix, plain.lines[plain.caret.first][i]);
            return Point(static_cast<int>(prefix.size()) + 1, static_cast<int>(plain.caret.first) + 1);
        };
        std::vector<std::string> history; // the texts undo brings back, latest last
        for (int step = 0; step < 400; ++step) {
            const std::string before = m.GetText();
            const int records = m.UndoList().Count();
            std::string what;
            switch (pick(9)) {
            case 0:
            case 1:
            case 2:
            case 3: { // a character, over the selection when there is one
                const char32_t c = alphabet[pick(std::size(alphabet))];
                m.TypeCharacter(vx::utf8::Encode(c));
                plain.DeleteSelection();
                plain.CaretLine().insert(plain.caret.second, 1, c);
                plain.Right();
                what = "type";
                break;
            }
            case 4: // Backspace
                m.CommandProcessor(ecDeleteLastChar, '\0', nullptr);
                if (plain.DeleteSelection()) {
                } else if (plain.caret.second > 0) {
                    plain.CaretLine().erase(--plain.caret.second, 1);
                } else if (plain.caret.first > 0) {
                    std::u32string rest = plain.CaretLine();
                    plain.lines.erase(plain.lines.begin() + static_cast<std::ptrdiff_t>(plain.caret.first--));
                    plain.caret.second = plain.CaretLine().size();
                    plain.CaretLine() += rest;
                    plain.Settle();
                }
                what = "backspace";
                break;
            case 5: // Delete
                m.CommandProcessor(ecDeleteChar, '\0', nullptr);
                if (plain.DeleteSelection()) {
                } else if (plain.caret.second < plain.CaretLine().size()) {
                    const size_t from = plain.caret.second; // the character with its zero-width ones
                    plain.Right();
                    plain.CaretLine().erase(from, plain.caret.second - from);
                    plain.caret.second = from;
                } else if (plain.caret.first + 1 < plain.lines.size()) {
                    std::u32string next = plain.lines[plain.caret.first + 1];
                    plain.lines.erase(plain.lines.begin() + static_cast<std::ptrdiff_t>(plain.caret.first) + 1);
                    plain.CaretLine() += next;
                    plain.Settle();
                }
                what = "delete";
                break;
            case 6: { // a line break
                m.CommandProcessor(ecLineBreak, '\0', nullptr);
                plain.DeleteSelection();
                std::u32string rest = plain.CaretLine().substr(plain.caret.second);
                plain.CaretLine().erase(plain.caret.second);
                plain.lines.insert(plain.lines.begin() + static_cast<std::ptrdiff_t>(plain.caret.first) + 1,
                                   std::move(rest));
                plain.caret = {plain.caret.first + 1, 0};
                what = "line break";
                break;
            }
            case 7: { // move, or select, a few characters along the line
                const bool left = pick(2) == 0;
                const bool select = pick(2) == 0;
                if (select && plain.anchor == plain.moving)
                    plain.anchor = plain.caret;
                size_t moves = 0;
                for (size_t i = 1 + pick(3); i > 0; --i, ++moves) {
                    if (left ? plain.caret.second == 0 : plain.caret.second == plain.CaretLine().size())
                        break;
                    m.CommandProcessor(select ? (left ? ecSelLeft : ecSelRight) : (left ? ecLeft : ecRight), '\0',
                                       nullptr);
                    left ? plain.Left() : plain.Right();
                }
                // No key pressed, no selection changed.
                if (moves > 0 && select)
                    plain.moving = plain.caret;
                else if (moves > 0)
                    plain.Collapse();
                what = "move";
                break;
            }
            default: { // undo or redo, which take the editor's word for caret and selection
                const bool undoing = pick(2) == 0;
                std::vector<std::string>& from = undoing ? history : undone;
                if (from.empty())
                    continue;
                undoing ? m.Undo() : m.Redo();
                ASSERT_EQ(m.GetText(), from.back()) << (undoing ? "undo" : "redo") << " at step " << step;
                from.pop_back();
                (undoing ? undone : history).push_back(before);
                plain.Follow(m);
                for (const TPlain::TPlace& place : {plain.caret, plain.anchor, plain.moving})
                    ASSERT_TRUE(plain.AtPlace(place)) << (undoing ? "undo" : "redo") << " at step " << step;
                continue;
            }
            }
            if (what != "move")
                plain.Collapse(); // an edit leaves nothing selected
            ASSERT_EQ(m.GetText(), plain.Text()) << what << " at step " << step;
            ASSERT_TRUE(vx::utf8::IsValid(m.GetText()));
            ASSERT_EQ(m.CaretXY(), caretPoint()) << what << " at step " << step;
            ASSERT_TRUE(plain.AtPlace(plain.caret)) << what << " at step " << step;
            // Each step is one undo: a key that changed nothing may still
            // have been recorded.
            if (m.UndoList().Count() > records) {
                history.push_back(before);
                undone.clear();
            }
        }
    }
}

} // namespace
