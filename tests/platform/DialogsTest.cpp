#include "platform/qt/Dialogs.h"
#include "tests/platform/DialogRecorder.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using vx::dialogs::Kind;

namespace {

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldName_ = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QString::fromUtf8(u8"Vellumix \u00E9\u4F60"));
    }
    void TearDown() override { QCoreApplication::setApplicationName(oldName_); }

private:
    QString oldName_;
};

} // namespace

TEST_F(DialogsTest, MessageDialogsShowExactTextsAndReturnTheAnswer)
{
    vx::test::DialogRecorder dialogs;
    ShowMessage("Saved \"index.htm\"");
    dialogs.Queue(mrNo);
    EXPECT_EQ(MessageDlg("Do you really want to quit?", mtConfirmation, mbYesNo), mrNo);
    dialogs.Queue(mrCancel);
    EXPECT_EQ(MessageDlg("Careful", mtWarning, mbYesNoCancel), mrCancel);
    MessageDlg("Plain", mtCustom, mbOKCancel);

    ASSERT_EQ(dialogs.requests.size(), 4u);
    const auto& r = dialogs.requests;
    EXPECT_EQ(r[0].kind, Kind::Message);
    EXPECT_EQ(r[0].caption, "Vellumix \xC3\xA9\xE4\xBD\xA0") << "the application title, in UTF-8";
    EXPECT_EQ(r[0].text, "Saved \"index.htm\"");
    EXPECT_EQ(r[0].buttons, mbOK);
    EXPECT_EQ(r[1].caption, "Confirm");
    EXPECT_EQ(r[1].text, "Do you really want to quit?");
    EXPECT_EQ(r[1].type, mtConfirmation);
    EXPECT_EQ(r[1].buttons, mbYes | mbNo);
    EXPECT_EQ(r[2].caption, "Warning");
    EXPECT_EQ(r[2].buttons, mbYes | mbNo | mbCancel);
    EXPECT_EQ(r[3].caption, "Vellumix \xC3\xA9\xE4\xBD\xA0");
    EXPECT_EQ(r[3].buttons, mbOK | mbCancel);
}

TEST_F(DialogsTest, MessageBoxFlagsBecomeButtonsAndIcons)
{
    vx::test::DialogRecorder dialogs;
    struct Row {
        unsigned flags;
        TMsgDlgButtons buttons;
        TMsgDlgType type;
        int answer;
    } rows[] = {
        {MB_OK, mbOK, mtCustom, IDOK},
        {MB_OKCANCEL | MB_ICONINFORMATION, mbOKCancel, mtInformation, IDCANCEL},
        {MB_YESNOCANCEL | MB_ICONWARNING, mbYesNoCancel, mtWarning, IDYES},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, mbYesNo, mtConfirmation, IDNO},
        {MB_RETRYCANCEL | MB_ICONERROR, mbRetry | mbCancel, mtError, IDRETRY},
        {MB_ABORTRETRYIGNORE, mbAbortRetryIgnore, mtCustom, IDIGNORE},
    };
    for (const Row& row : rows) {
        dialogs.requests.clear();
        dialogs.Queue(row.answer);
        EXPECT_EQ(MessageBox("text", "Caption", row.flags), row.answer);
        ASSERT_EQ(dialogs.requests.size(), 1u);
        EXPECT_EQ(dialogs.requests[0].caption, "Caption");
        EXPECT_EQ(dialogs.requests[0].buttons, row.buttons) << row.flags;
        EXPECT_EQ(dialogs.requests[0].type, row.type) << row.flags;
    }
}

TEST_F(DialogsTest, CommonDialogsPassTheirSettingsAndHonourCancel)
{
    vx::test::DialogRecorder dialogs;
    const std::string filter = "HTML files|*.htm;*.html|All files|*.*";
    dialogs.Queue(mrOk, "/tmp/page.htm");
    EXPECT_EQ(vx::dialogs::OpenFile("Open", filter, "/tmp"), "/tmp/page.htm");
    dialogs.Queue(mrCancel, "/tmp/ignored.htm");
    EXPECT_EQ(vx::dialogs::SaveFile("Save as", filter, "new.htm"), "");
    dialogs.Queue(mrOk, "/home");
    EXPECT_EQ(vx::dialogs::ChooseFolder("Pick a folder", "/"), "/home");
    ASSERT_EQ(dialogs.requests.size(), 3u);
    EXPECT_EQ(dialogs.requests[0].kind, Kind::OpenFile);
    EXPECT_EQ(dialogs.requests[0].caption, "Open");
    EXPECT_EQ(dialogs.requests[0].text, filter);
    EXPECT_EQ(dialogs.requests[0].initial, "/tmp");
    EXPECT_EQ(dialogs.requests[1].kind, Kind::SaveFile);
    EXPECT_EQ(dialogs.requests[1].initial, "new.htm");
    EXPECT_EQ(dialogs.requests[2].kind, Kind::Folder);

    std::uint32_t color = 0x00336699;
    vx::dialogs::Answer chosen;
    chosen.result = mrOk;
    chosen.color = 0xFF0000FF; // the high byte is not part of a colour
    dialogs.answers.push_back(chosen);
    EXPECT_TRUE(vx::dialogs::ChooseColor(color));
    EXPECT_EQ(dialogs.requests.back().color, 0x00336699u);
    EXPECT_EQ(color, 0x000000FFu);
    EXPECT_FALSE(vx::dialogs::ChooseColor(color));
    EXPECT_EQ(color, 0x000000FFu) << "cancel leaves the colour alone";

    vx::dialogs::FontChoice font{"Courier New", 10, false, false, false, false, 0};
    chosen.font = {"DejaVu Sans Mono", 12, true, true, false, true, 0x0000FF00};
    dialogs.answers.push_back(chosen);
    EXPECT_TRUE(vx::dialogs::ChooseFont(font));
    EXPECT_EQ(dialogs.requests.back().font.name, "Courier New");
    EXPECT_EQ(font, chosen.font);
    vx::dialogs::FontChoice before = font;
    EXPECT_FALSE(vx::dialogs::ChooseFont(font));
    EXPECT_EQ(font, before);
}

TEST(Dialogs, FiltersBecomeQtFilters)
{
    struct Row {
        const char* in;
        const char* out;
    } rows[] = {
        {"HTML files|*.htm;*.html|All files|*.*", "HTML files (*.htm *.html);;All files (*)"},
        {"GIF images (*.gif)|*.gif", "GIF images (*.gif)"},
        {"Text (*.txt; *.asc)|*.txt; *.asc", "Text (*.txt *.asc)"},
        {"Scripts|*.asp;;*.php|", "Scripts (*.asp *.php)"},
        {"No pattern", "No pattern (*)"},
        {"", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(vx::dialogs::QtFilter(row.in), row.out) << row.in;
}

TEST(Dialogs, WithoutAnAnswererARealMessageBoxShowsTheTextAsItIs)
{
    const struct {
        std::string text;
        const char* what;
    } rows[] = {
        {"Overwrite \xC3\xA9\xCE\xB1?", "UTF-8"},
        {"Cannot write /tmp/<b>x</b>&y\nz.html:\r\nPermission denied", "a name holding a tag, \"&\" and a line break"},
        {"Cannot write /tmp/" + std::string(250, 'n') + ".html: Permission denied", "a name of 255 bytes"},
        {"A copy is kept in\r\n    /tmp/" + std::string(250, 'n') + ".html\r\nOpen it?",
         "a name of 255 bytes between line ends of two characters"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        int seenDefault = -1;
        QTimer timer;
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            timer.stop();
            seenDefault = box->standardButton(box->defaultButton());
            EXPECT_EQ(box->windowTitle(), QString("Question"));
            const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << "no markup";
            // Where a long run may break, nothing is seen.
            EXPECT_EQ(label->text().remove(QChar(0x200B)), QString::fromStdString(row.text));
            EXPECT_LE(label->minimumSizeHint().width(), label->width()) << "the text is cut at the box's edge";
            EXPECT_TRUE(box->rect().contains(QRect(label->mapTo(box, QPoint()), label->size())));
            // What another program copies meanwhile is its own, break chances and all.
            const QString theirs = QString("another") + QChar(0x200B) + "program's text";
            QGuiApplication::clipboard()->setText(theirs);
            QCoreApplication::processEvents();
            EXPECT_EQ(QGuiApplication::clipboard()->text(), theirs) << "another program's clipboard was rewritten";
            // The label's text is selectable: selected whole and copied.
            auto* selectable = const_cast<QLabel*>(label);
            QTest::mouseClick(selectable, Qt::LeftButton);
            QTest::keyClick(selectable, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(selectable, Qt::Key_C, Qt::ControlModifier);
            EXPECT_EQ(QGuiApplication::clipboard()->text().remove('\r'), QString::fromStdString(row.text).remove('\r'))
                << "copied as it came, line ends aside";
            box->button(QMessageBox::Yes)->click();
        });
        timer.start();
        EXPECT_EQ(MessageBox(row.text, "Question", MB_YESNO | MB_DEFBUTTON2), IDYES);
        EXPECT_EQ(seenDefault, QMessageBox::No);
    }
}
