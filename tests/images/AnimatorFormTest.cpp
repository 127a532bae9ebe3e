// The GIF animator window driven as a user would: pasting pictures as frames,
// setting delays, saving, reopening, the save question, and its pages.
#include "images/RxGIF.h"
#include "controls/speedbar/SbSetup.h"
#include "controls/speedbar/SpeedBar.h"
#include "controls/stores/AppUtils.h"
#include "controls/stores/Placemnt.h"
#include "images/qt/AnimatorForm.h"
#include "images/qt/PaletteForm.h"
#include "images/qt/PreviewForm.h"
#include "images/qt/RxGIFAnimator.h"
#include "platform/RegIniFile.h"
#include "platform/qt/Dialogs.h"
#include "tests/images/AniTestSupport.h"
#include "tests/images/GIFTestSupport.h"
#include "tests/platform/RegistrySandbox.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <deque>

namespace {

QImage Solid(QColor colour, int width = 6, int height = 4)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class AnimatorFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QApplication::clipboard()->setImage(Solid(Qt::red));
        vx::dialogs::SetAnswerer([this](const vx::dialogs::Request& request) {
            asked_.push_back(request);
            if (answers_.empty()) {
                ADD_FAILURE() << "unexpected dialog: " << request.text;
                return vx::dialogs::Answer{};
            }
            vx::dialogs::Answer answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
        form_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form_));
    }
    void TearDown() override
    {
        EXPECT_TRUE(answers_.empty()) << "a dialog that was expected did not come";
        vx::dialogs::SetAnswerer({});
    }

    template <class T>
    T* Find(const char* name)
    {
        T* widget = form_.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // The visual button of a speed bar item.
    QWidget* Button(const char* name)
    {
        auto* item = dynamic_cast<TSpeedItem*>(form_.findChild<QObject*>(name));
        EXPECT_NE(item, nullptr) << name;
        return item ? item->Button() : nullptr;
    }
    void Click(const char* button)
    {
        QWidget* b = Button(button);
        ASSERT_TRUE(b->isEnabled()) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void Paste(QColor colour)
    {
        QApplication::clipboard()->setImage(Solid(colour));
        Click("PasteBtn");
    }
    void ShowPage(int index)
    {
        QTabBar* bar = Find<QTabWidget>("Pages")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    void Type(const char* spin, const QString& text)
    {
        QSpinBox* box = Find<QSpinBox>(spin);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    // A check box takes clicks on its box and label only, at its left.
    void Tick(const char* name)
    {
        QCheckBox* box = Find<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
    void SelectThumbnail(int tag)
    {
        QTest::mouseClick(Find<QWidget>(QString("PaintBox%1").arg(tag + 1).toLatin1().constData()), Qt::LeftButton);
    }
    static vx::dialogs::Answer Choose(int result, const std::string& path = "")
    {
        vx::dialogs::Answer answer;
        answer.result = result;
        answer.path = path;
        return answer;
    }

    // The window keeps its placement in the registry: a test's own.
    vx::test::RegistrySandbox sandbox_;
    TAnimatorForm form_;
    std::deque<vx::dialogs::Answer> answers_;
    std::vector<vx::dialogs::Request> asked_;
    vx::test::TempDir dir_;
};

TEST_F(AnimatorFormTest, BuildSaveAndReopenAnAnimation)
{
    EXPECT_EQ(form_.windowTitle(), "Vellumix Gif Animator 1.0");
    Paste(Qt::red);
    Paste(Qt::green);
    Paste(Qt::blue);
    ASSERT_EQ(form_.Image().Count(), 3);
    EXPECT_TRUE(form_.Modified());
    ShowPage(2);
    const int delays[] = {25, 50, 125};
    for (int i = 0; i < 3; ++i) {
        SelectThumbnail(i);
        EXPECT_EQ(form_.Image().FrameIndex(), i);
        Type("DelayTime", QString::number(delays[i]));
    }
    ShowPage(1);
    Tick("LoopBox");
    Tick("RepeatForever");
    EXPECT_TRUE(form_.Image().Looping());
    EXPECT_EQ(form_.Image().RepeatCount(), 0);

    const std::string path = dir_.file("three.gif");
    answers_ = {Choose(mrOk, path)};
    Click("SaveAsBtn");
    EXPECT_EQ(form_.FileName(), path);
    EXPECT_FALSE(form_.Modified());
    EXPECT_EQ(form_.windowTitle(), "Vellumix Gif Animator 1.0 - three.gif");

    const giftest::Picture saved = giftest::DescribeWithGiflib(vx::test::readFile(path));
    ASSERT_EQ(saved.frames.size(), 3u);
    EXPECT_EQ(saved.loops, 0) << "repeat forever";

    Click("NewBtn");
    EXPECT_EQ(form_.Image().Count(), 0);
    EXPECT_TRUE(form_.FileName().empty());
    answers_ = {Choose(mrOk, path)};
    Click("OpenBtn");
    ASSERT_EQ(form_.Image().Count(), 3);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form_.Image().Frame(i).Delay(), delays[i] * 10);
        const TGIFBitmap& bitmap = form_.Image().Frame(i).Bitmap();
        const TGIFColor c = bitmap.Palette.at(bitmap.ScanLine(1)[2]);
        EXPECT_EQ(QColor(c.Red, c.Green, c.Blue), colours[i]) << i;
    }
    EXPECT_FALSE(form_.Modified());
}

TEST_F(AnimatorFormTest, CancellingSaveAsKeepsTheUnsavedAnimation)
{
    Paste(Qt::red);
    answers_ = {Choose(mrYes), Choose(mrCancel)};
    Click("NewBtn");
    ASSERT_EQ(asked_.size(), 2u);
    EXPECT_EQ(asked_[0].text, "Save changes to current animation?");
    EXPECT_EQ(asked_[1].kind, vx::dialogs::Kind::SaveFile);
    EXPECT_EQ(form_.Image().Count(), 1);
    EXPECT_TRUE(form_.Modified());

    answers_ = {Choose(mrCancel)};
    QTest::keyClick(&form_, Qt::Key_Escape);
    EXPECT_TRUE(form_.isVisible()) << "Cancel keeps the window open";

    answers_ = {Choose(mrNo)};
    Click("NewBtn");
    EXPECT_EQ(form_.Image().Count(), 0);
}

// A file that cannot be read leaves the animation open as it was, its file
// and its unsaved frames with it, and the box names the file and says why.
TEST_F(AnimatorFormTest, AFileThatCannotBeReadLeavesTheOpenAnimationAsItWas)
{
    Paste(Qt::red);
    const std::string kept = dir_.file("kept.gif");
    answers_ = {Choose(mrOk, kept)};
    Click("SaveAsBtn");
    // One frame declaring an LZW code size of 12, past what GIF allows.
    const std::string damaged = dir_.file("damaged.gif");
    vx::test::writeFile(damaged, std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff"
                                             ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x0c\x02\x4c\x01\x00;",
                                             32));
    const std::string missing = dir_.file("missing.gif");
    const struct {
        std::string path;
        std::string why;
    } cases[] = {
        {damaged, "GIF code size not in range 2 to 9"},
        {missing, "Cannot open file " + missing + ": " + std::strerror(ENOENT)},
    };
    for (const auto& c : cases) {
        Paste(Qt::green);
        asked_.clear();
        answers_ = {Choose(mrNo), Choose(mrOk, c.path), Choose(mrOk)};
        Click("OpenBtn");
        ASSERT_EQ(asked_.size(), 3u) << c.path;
        EXPECT_EQ(asked_[2].type, mtError);
        EXPECT_EQ(asked_[2].text, "Could not read " + c.path + ":\r\n" + c.why);
        EXPECT_EQ(form_.FileName(), kept) << c.path;
        EXPECT_EQ(form_.windowTitle(), "Vellumix Gif Animator 1.0 - kept.gif");
        EXPECT_TRUE(form_.Modified()) << c.path;
        EXPECT_TRUE(Button("SaveBtn")->isEnabled());
    }
    Click("SaveBtn");
    EXPECT_EQ(giftest::DescribeWithGiflib(vx::test::readFile(kept)).frames.size(), 3u) << "every frame kept";

    // Esc while a sound file is read abandons it as quietly as ever.
    const std::string sound = dir_.file("sound.gif");
    vx::test::writeFile(sound, giftest::OptimizableAnimation(5));
    Paste(Qt::blue);
    asked_.clear();
    answers_ = {Choose(mrNo), Choose(mrOk, sound)};
    QTimer::singleShot(0, &form_, [this] { QTest::keyClick(&form_, Qt::Key_Escape); });
    Click("OpenBtn");
    EXPECT_EQ(asked_.size(), 2u) << "no message";
    EXPECT_EQ(form_.Image().Count(), 4);
    EXPECT_EQ(form_.FileName(), kept);
    EXPECT_TRUE(form_.Modified());
    EXPECT_TRUE(form_.isVisible());
}

// A file whose logical screen is larger than its frames keeps that screen
// through an edit, an added frame and a save: the page that shows it keeps
// its layout.
TEST_F(AnimatorFormTest, SavingKeepsTheScreenOfTheFileOpened)
{
    // 40 x 30 screen, one red 2 x 2 frame at 3, 4 with a delay of 10.
    const std::string path = dir_.file("small frame.gif");
    vx::test::writeFile(path, std::string("GIF89a\x28\x00\x1e\x00\x80\x00\x00\xff\x00\x00\x00\x00\xff"
                                          "\x21\xf9\x04\x00\x0a\x00\x00\x00"
                                          "\x2c\x03\x00\x04\x00\x02\x00\x02\x00\x00"
                                          "\x02\x02\x04\x5c\x00\x3b",
                                          43));
    answers_ = {Choose(mrOk, path)};
    Click("OpenBtn");
    ASSERT_EQ(form_.Image().Count(), 1);
    EXPECT_EQ(form_.Image().ScreenWidth(), 40);
    ShowPage(2);
    Type("DelayTime", "25");
    Paste(Qt::green);
    Click("SaveBtn");
    const giftest::Picture saved = giftest::DescribeWithGiflib(vx::test::readFile(path));
    EXPECT_EQ(saved.width, 40);
    EXPECT_EQ(saved.height, 30);
    ASSERT_EQ(saved.frames.size(), 2u);
    EXPECT_EQ(saved.frames[0].left, 3);
    EXPECT_EQ(saved.frames[0].top, 4);
}

// While a file is being read or a command works, the other commands wait: Save
// wrote the animation being read over the file open before, and Delete took
// frames from under the reading or the greying.
TEST_F(AnimatorFormTest, CommandsWaitWhileAFileIsRead)
{
    Paste(Qt::red);
    const std::string first = dir_.file("first.gif");
    answers_ = {Choose(mrOk, first)};
    Click("SaveAsBtn");
    const std::string firstBytes = vx::test::readFile(first);
    const std::string second = dir_.file("second.gif");
    vx::test::writeFile(second, giftest::OptimizableAnimation(3));

    answers_ = {Choose(mrOk, second)};
    QTimer::singleShot(0, &form_, [this] {
        for (const char* name : {"SaveBtn", "DeleteBtn", "NewBtn", "OpenBtn"}) {
            EXPECT_FALSE(Button(name)->isEnabled()) << name;
            QTest::mouseClick(Button(name), Qt::LeftButton);
        }
    });
    Click("OpenBtn");
    EXPECT_EQ(vx::test::readFile(first), firstBytes);
    EXPECT_EQ(form_.FileName(), second);
    EXPECT_GT(form_.Image().Count(), 1);
    EXPECT_FALSE(form_.Modified());
    EXPECT_TRUE(Button("SaveBtn")->isEnabled());

    // So do they while a command works through the frames.
    QTimer::singleShot(0, &form_, [this] {
        EXPECT_FALSE(Button("DeleteBtn")->isEnabled());
        QTest::mouseClick(Button("DeleteBtn"), Qt::LeftButton);
    });
    const int frames = form_.Image().Count();
    Click("GrayscaleBtn");
    EXPECT_EQ(form_.Image().Count(), frames);
    EXPECT_TRUE(Button("DeleteBtn")->isEnabled());
}

TEST_F(AnimatorFormTest, ThumbnailsFollowTheSelection)
{
    for (int i = 0; i < 6; ++i)
        Paste(QColor(i * 40, 0, 0));
    EXPECT_EQ(form_.Image().FrameIndex(), 5);
    EXPECT_EQ(form_.TopIndex(), 2);
    EXPECT_EQ(Find<QLabel>("No1")->text(), "3");
    EXPECT_EQ(Find<QLabel>("No4")->text(), "6");
    Click("UpBtn");
    EXPECT_EQ(form_.Image().FrameIndex(), 4);
    Click("DeleteBtn");
    EXPECT_EQ(form_.Image().Count(), 5);
}

TEST_F(AnimatorFormTest, FramePageEdits)
{
    Paste(Qt::red);
    ShowPage(2);
    RxGIF::TGIFFrame& frame = form_.Image().Frame(0);
    frame.SetTransparentColor(RxGIF::ColorOf(TGIFColor{255, 0, 0}));
    frame.SetDisposal(5);
    form_.Image().SetFrameIndex(-1);
    SelectThumbnail(0);
    EXPECT_EQ(Find<QComboBox>("DisposalCombo")->currentText(), "Undefined");
    EXPECT_TRUE(Find<QCheckBox>("TransBox")->isChecked());
    Tick("TransBox");
    EXPECT_EQ(frame.TransparentColor(), RxGIF::clNone);
    Tick("TransBox");
    EXPECT_EQ(frame.TransparentColor(), RxGIF::clNone) << "checking alone picks no colour";

    ShowPage(1);
    Find<QWidget>("TrailingComment")->setFocus();
    QTest::keyClick(&form_, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Find<QLineEdit>("BackColor")) << "the label's mnemonic leads to its edit";
    Tick("LoopBox");
    EXPECT_TRUE(Find<QCheckBox>("RepeatForever")->isEnabled());
    Tick("LoopBox");
    EXPECT_FALSE(Find<QCheckBox>("RepeatForever")->isEnabled());
    EXPECT_FALSE(form_.Image().Looping());
}

TEST_F(AnimatorFormTest, InsertTakesPicturesWithTheirTransparency)
{
    QImage picture(5, 3, QImage::Format_ARGB32);
    picture.fill(QColor(255, 255, 255));
    picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
    const std::string png = dir_.file("hole.png");
    ASSERT_TRUE(picture.save(QString::fromStdString(png)));
    answers_ = {Choose(mrOk, png)};
    Click("InsertBtn");
    ASSERT_EQ(form_.Image().Count(), 1);
    RxGIF::TGIFFrame& frame = form_.Image().Frame(0);
    ASSERT_NE(frame.TransparentColor(), RxGIF::clNone);
    EXPECT_NE(frame.TransparentColor(), RxGIF::ColorOf(TGIFColor{255, 255, 255})) << "white is a colour of the picture";

    RxGIF::TGIFImage two;
    two.AddFrame(giftest::Make24(2, 2, [](int, int) { return TGIFColor{9, 9, 9}; }));
    two.AddFrame(giftest::Make24(2, 2, [](int, int) { return TGIFColor{200, 9, 9}; }));
    const std::string gif = dir_.file("two.gif");
    two.SaveToFile(gif);
    answers_ = {Choose(mrOk, gif)};
    Click("InsertBtn");
    EXPECT_EQ(form_.Image().Count(), 2) << "a GIF picture is one frame";
    answers_ = {Choose(mrOk, dir_.file("missing.png")), Choose(mrOk)};
    Click("InsertBtn");
    EXPECT_EQ(form_.Image().Count(), 2) << "an unreadable file adds nothing";
    EXPECT_EQ(asked_.back().kind, vx::dialogs::Kind::Message);
}

TEST_F(AnimatorFormTest, InsertTakesAnAnimatedCursorAsFrames)
{
    using namespace anitest;
    const std::string cursor = dir_.file("spin.ani");
    vx::test::writeFile(cursor, Riff(Anih(3, 3, 6) + Chunk("rate", Words({6, 12, 3})) +
                                     Fram({Ico(8, 8, 8), Ico(8, 8, 24), Ico(8, 8, 4)})));
    answers_ = {Choose(mrOk, cursor)};
    Click("InsertBtn");
    ASSERT_EQ(form_.Image().Count(), 3);
    EXPECT_EQ(form_.Image().Frame(0).Delay(), 100);
    EXPECT_EQ(form_.Image().Frame(1).Delay(), 200);
    EXPECT_EQ(form_.Image().Frame(2).Delay(), 50);
    EXPECT_NE(form_.Image().Frame(0).TransparentColor(), RxGIF::clNone) << "the icons' masks";
    EXPECT_TRUE(form_.Modified());
}

// What is copied in another program can be pasted once the window is active again.
TEST_F(AnimatorFormTest, PasteFollowsTheClipboardOnReturningToTheWindow)
{
    QWidget elsewhere;
    elsewhere.show();
    for (const bool picture : {false, true}) {
        elsewhere.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
        if (picture)
            QApplication::clipboard()->setImage(Solid(Qt::red));
        else
            QApplication::clipboard()->clear();
        form_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
        EXPECT_EQ(Button("PasteBtn")->isEnabled(), picture);
    }
}

TEST(PaletteForm, GridShapeFollowsThePalette)
{
    TGIFPalette sixteen(16);
    sixteen[5] = TGIFColor{10, 200, 30};
    TPaletteForm small(nullptr, sixteen, RxGIF::ColorOf(TGIFColor{12, 199, 30}));
    EXPECT_EQ(small.Columns(), 8);
    EXPECT_EQ(small.CellSize(), 31);
    EXPECT_EQ(small.Selected(), 5) << "the nearest entry starts selected";
    QWidget* grid = small.findChild<QWidget*>("ColorGrid");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->size(), QSize(8 * 31, 2 * 31));
    small.show();
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(31 + 10, 31 + 10));
    EXPECT_EQ(small.Selected(), 9);

    TPaletteForm large(nullptr, TGIFPalette(40), 0);
    EXPECT_EQ(large.Columns(), 16);
    EXPECT_EQ(large.findChild<QWidget*>("ColorGrid")->size(), QSize(16 * 18, 3 * 18));
    EXPECT_EQ(SelectPaletteColor(nullptr, {}, 1234u), 1234u) << "no palette: the colour comes back";
}

TEST(PreviewForm, SliderReachesEveryFrame)
{
    RxGIF::TGIFImage image;
    for (int i = 0; i < 3; ++i) {
        TGIFBitmap bitmap(2, 2, TPixelFormat::pf8bit);
        bitmap.Palette = {TGIFColor{static_cast<std::uint8_t>(i * 80), 0, 0}};
        image.AddFrame(bitmap);
    }
    TPreviewForm preview(nullptr, image);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    QTest::mouseClick(preview.findChild<QToolButton*>("StopBtn"), Qt::LeftButton);
    QSlider* slider = preview.findChild<QSlider*>("Slider");
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 2);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_EQ(preview.Animator().FrameIndex(), 2);
    QTest::keyClick(slider, Qt::Key_Home);
    EXPECT_EQ(preview.Animator().FrameIndex(), 0);
    EXPECT_EQ(preview.findChild<QLabel*>("FrameNo")->text(), "1");
    QTest::mouseClick(preview.findChild<QToolButton*>("ForwardBtn"), Qt::LeftButton);
    EXPECT_EQ(preview.Animator().FrameIndex(), 1);
}

} // namespace

// The speed bar: its sections and buttons, glyphs from the image list, the
// flat switch, and a double click opening its customisation window that takes
// input while the animator is modal.
TEST_F(AnimatorFormTest, SpeedBarSectionsFlatSwitchAndCustomising)
{
    TSpeedBar& bar = form_.SpeedBar();
    ASSERT_EQ(bar.SectionCount(), 4);
    const char* const sections[] = {"File", "Edit", "Image", "Help"};
    const std::vector<std::vector<std::string>> items = {
        {"NewBtn", "OpenBtn", "SaveBtn", "SaveAsBtn", "InsertBtn"},
        {"CutBtn", "CopyBtn", "PasteBtn", "DeleteBtn"},
        {"UpBtn", "DownBtn", "GrayscaleBtn", "PreviewBtn"},
        {"AboutBtn"}};
    int image = 0;
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(bar.Sections(s)->Caption(), sections[s]);
        ASSERT_EQ(bar.ItemsCount(s), int(items[s].size())) << sections[s];
        for (int i = 0; i < bar.ItemsCount(s); ++i) {
            TSpeedItem* item = bar.Items(s, i);
            EXPECT_EQ(item->Name(), items[s][i]);
            EXPECT_EQ(item->ImageIndex(), image++);
            EXPECT_TRUE(item->Button()->isVisible()) << item->Name();
        }
    }
    EXPECT_EQ(bar.Images()->Count(), image);
    EXPECT_EQ(bar.Images()->Image(0).toImage().pixelColor(0, 0).alpha(), 0) << "the mask colour is cut out";
    EXPECT_EQ(bar.Options(), unsigned(sbFlatBtns | sbGrayedBtns | sbTransparentBtns));

    ShowPage(0);
    Tick("FlatBtns");
    EXPECT_EQ(bar.Options() & sbFlatBtns, 0u);
    Tick("FlatBtns");
    EXPECT_NE(bar.Options() & sbFlatBtns, 0u);

    // A place on the bar that no button covers.
    QTest::mouseDClick(&bar, Qt::LeftButton, {}, QPoint(bar.width() - 4, bar.height() / 2));
    TSpeedbarSetupWindow* setup = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* window = dynamic_cast<TSpeedbarSetupWindow*>(top); window && window->isVisible())
            setup = window;
    ASSERT_NE(setup, nullptr) << "the customisation window is shown";
    EXPECT_EQ(setup->SpeedBar(), &bar);
    EXPECT_EQ(setup->parentWidget(), &form_);
    EXPECT_TRUE(setup->isWindow());
    setup->close();
    delete setup;
}

// The placement and the speed bar's layout live under the company's key named
// after the application's title; they are written when the window goes and
// read back when the next one is shown, before the window takes its place at
// 20, 20. The size stays fixed.
TEST(AnimatorFormPlacement, RoundTripThroughTheRegistry)
{
    vx::test::RegistrySandbox sandbox;
    const std::string key = "Software\\Orvane Software\\" + QCoreApplication::applicationName().toStdString();
    const char* const section = "TAnimatorForm";
    QRect first;
    QPoint firstPos;
    {
        TAnimatorForm form;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        EXPECT_EQ(form.pos(), QPoint(20, 20));
        EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "the window cannot be resized";
        EXPECT_EQ(form.size(), form.minimumSize());
        first = form.geometry();
        firstPos = form.pos();
        // The layout of the speed bar goes with the placement: one button taken off.
        form.SpeedBar().FindItemByName("AboutBtn")->SetVisible(false);
        QTest::keyClick(&form, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
    }
    auto asText = [](const QRect& r) {
        return std::to_string(r.left()) + "," + std::to_string(r.top()) + "," + std::to_string(r.left() + r.width())
               + "," + std::to_string(r.top() + r.height());
    };
    {
        TRegIniFile reg(key);
        EXPECT_EQ(vx::IniReadStringScr(&reg, section, "NormPos", ""), asText(first));
        EXPECT_EQ(TRegIniFile("Software\\" + QCoreApplication::applicationName().toStdString())
                      .ReadString(section, "NormPos", "none"),
                  "none")
            << "nothing outside the company's key";
        EXPECT_EQ(reg.ReadInteger("TAnimatorForm\\TAnimatorFormSpeedBar", "Count", 0), 13);
        // Lower down, as another session may have left it; the test screen is
        // narrower than the window, so only the height is free.
        vx::IniWriteStringScr(&reg, section, "NormPos", asText(first.translated(0, 60)));
    }

    TAnimatorForm again;
    QPoint restoredAt;
    int restores = 0;
    again.Storage().OnRestorePlacement = [&](QObject*) {
        ++restores;
        restoredAt = again.pos();
    };
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    EXPECT_EQ(restores, 1);
    EXPECT_EQ(restoredAt.y(), firstPos.y() + 60);
    EXPECT_EQ(again.size(), first.size());
    EXPECT_EQ(again.pos(), QPoint(20, 20));
    EXPECT_FALSE(again.SpeedBar().FindItemByName("AboutBtn")->Visible());
    EXPECT_TRUE(again.SpeedBar().FindItemByName("PreviewBtn")->Visible());
}
