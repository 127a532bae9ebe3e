// The image optimiser window driven as a user would, over a folder of files
// made by the tests.
#include "bench/GIFCorpus.h"
#include "images/GIFImage.h"
#include "images/qt/GifOptimizerForm.h"
#include "platform/qt/Dialogs.h"
#include "tests/images/GIFTestSupport.h"
#include "tests/support/TempDir.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

class GifOptimizerFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.path());
        vx::dialogs::SetAnswerer([this](const vx::dialogs::Request& request) {
            asked_.push_back(request.text);
            vx::dialogs::Answer answer;
            answer.result = answer_;
            return answer;
        });
    }
    void TearDown() override
    {
        vx::dialogs::SetAnswerer({});
        std::filesystem::current_path(previous_);
    }
    void Write(const std::string& name, const std::string& bytes) { vx::test::writeFile(dir_.file(name), bytes); }
    std::string Read(const std::string& name) { return vx::test::readFile(dir_.file(name)); }

    // Opens the window on the folder and lists its files.
    std::unique_ptr<Tfrm_gifoptimizer> Open()
    {
        auto form = std::make_unique<Tfrm_gifoptimizer>();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QListWidget* files = form->findChild<QListWidget*>("FileListBox1");
        if (files->count() > 0)
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
        return form;
    }
    static QTreeWidget* List(Tfrm_gifoptimizer& form) { return form.findChild<QTreeWidget*>("ListViewFiles"); }
    static void Press(Tfrm_gifoptimizer& form, const char* name)
    {
        QTest::mouseClick(form.findChild<QPushButton*>(name), Qt::LeftButton);
    }
    QTreeWidgetItem* Row(Tfrm_gifoptimizer& form, const QString& name)
    {
        const QList<QTreeWidgetItem*> found = List(form)->findItems(name, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        return found.isEmpty() ? nullptr : found.front();
    }

    vx::test::TempDir dir_;
    std::filesystem::path previous_;
    int answer_ = mrYes;
    std::vector<std::string> asked_;
};

TEST_F(GifOptimizerFormTest, TestThenOptimizeRewritesOnlySmallerFiles)
{
    const std::string animation = giftest::OptimizableAnimation(11);
    Write("anim.gif", animation);
    TGIFImage tiny;
    for (const TGIFColor& c : giftest::Colours(2))
        tiny.Header().ColorMap().Add(c);
    giftest::AddFrame(tiny, 1, 1);
    const std::string small = giftest::SaveToString(tiny);
    Write("tiny.gif", small);
    Write("notes.txt", "not a picture");

    auto form = Open();
    EXPECT_EQ(form->Folder(), std::filesystem::canonical(dir_.path()).string());
    ASSERT_EQ(List(*form)->topLevelItemCount(), 2);

    Press(*form, "buttontest");
    QTreeWidgetItem* anim = Row(*form, "anim.gif");
    ASSERT_NE(anim, nullptr);
    EXPECT_EQ(anim->text(1).toStdString(), std::to_string(animation.size()));
    EXPECT_LT(anim->text(2).toLongLong(), static_cast<long long>(animation.size()));
    EXPECT_TRUE(anim->text(3).endsWith("%"));
    EXPECT_EQ(Read("anim.gif"), animation) << "testing writes nothing";
    EXPECT_EQ(form->findChild<QLabel*>("LabelSaved")->text().toStdString(), std::to_string(form->TotalSaved()) + " bytes");
    EXPECT_EQ(form->findChild<QLabel*>("Label1")->text(), "");
    // Every column of the results shows whole, "Reduction" too.
    QTreeWidget* results = List(*form);
    EXPECT_LE(results->header()->length(), results->viewport()->width());
    for (int column = 0; column < results->columnCount(); ++column)
        EXPECT_GE(results->columnWidth(column), results->header()->sectionSizeHint(column)) << column;

    Press(*form, "buttonoptimize");
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0], "Are you sure that you wish to Optimize the directory?\rThe files will be modified!");
    const std::string optimized = Read("anim.gif");
    EXPECT_LT(optimized.size(), animation.size());
    EXPECT_EQ(giftest::Timeline(optimized), giftest::Timeline(animation)) << "the file shows the same animation";
    EXPECT_EQ(Read("tiny.gif"), small) << "a file that does not get smaller stays";

    answer_ = mrNo;
    Write("anim.gif", animation);
    Press(*form, "buttonoptimize");
    EXPECT_EQ(Read("anim.gif"), animation) << "No optimises nothing";
}

TEST_F(GifOptimizerFormTest, TwoPassesKeepTheSmallerCandidate)
{
    const std::string animation = giftest::OptimizableAnimation(12);
    Write("anim.gif", animation);
    auto form = Open();
    QTest::mouseClick(form->findChild<QCheckBox*>("CheckBoxTwoPass"), Qt::LeftButton, {}, QPoint(6, 6));
    ASSERT_TRUE(form->findChild<QCheckBox*>("CheckBoxTwoPass")->isChecked());
    Press(*form, "buttontest");
    const long long twoPass = Row(*form, "anim.gif")->text(2).toLongLong();
    QTest::mouseClick(form->findChild<QCheckBox*>("CheckBoxTwoPass"), Qt::LeftButton, {}, QPoint(6, 6));
    Press(*form, "buttontest");
    EXPECT_LE(twoPass, Row(*form, "anim.gif")->text(2).toLongLong());
}

TEST_F(GifOptimizerFormTest, AbortAndBrokenFilesStopTheRun)
{
    Write("a.gif", giftest::OptimizableAnimation(13));
    Write("b.gif", "GIF89a broken");
    Write("c.gif", giftest::OptimizableAnimation(14));
    auto form = Open();
    ASSERT_EQ(List(*form)->topLevelItemCount(), 3);
    Press(*form, "buttonoptimize");
    ASSERT_EQ(asked_.size(), 2u) << "the confirmation, then the error";
    EXPECT_EQ(asked_[1], "Could not optimize " + std::filesystem::canonical(dir_.file("b.gif")).string() +
                             ":\r\nInvalid GIF data");
    EXPECT_LT(Read("a.gif").size(), giftest::OptimizableAnimation(13).size()) << "written before the error";
    EXPECT_EQ(Read("c.gif"), giftest::OptimizableAnimation(14)) << "the run stopped at the broken file";

    Write("a.gif", giftest::OptimizableAnimation(13));
    QPushButton* abort = form->findChild<QPushButton*>("buttonabort");
    QTimer::singleShot(0, abort, [abort] { QTest::mouseClick(abort, Qt::LeftButton); });
    Press(*form, "buttonoptimize");
    EXPECT_EQ(Read("a.gif"), giftest::OptimizableAnimation(13)) << "aborting leaves the current file";
    EXPECT_FALSE(abort->isEnabled());
}

// While a run works through the listed files, the folder, the file list and
// the run buttons wait: another folder chosen meanwhile had its files of the
// same names rewritten, and a click in the file list freed the rows in use.
TEST_F(GifOptimizerFormTest, ARunKeepsToTheFolderItStartedIn)
{
    Write("a.gif", giftest::OptimizableAnimation(13));
    Write("b.gif", giftest::OptimizableAnimation(14));
    std::filesystem::create_directory(dir_.path() / "other");
    Write("other/b.gif", giftest::OptimizableAnimation(15));
    auto form = Open();
    ASSERT_EQ(List(*form)->topLevelItemCount(), 2);
    auto* folders = form->findChild<QListWidget*>("DirectoryListBox1");
    auto* files = form->findChild<QListWidget*>("FileListBox1");
    QTimer::singleShot(0, form.get(), [&] {
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(1)).center());
        Press(*form, "buttontest");
        const auto other = folders->findItems("other", Qt::MatchExactly);
        ASSERT_EQ(other.size(), 1);
        QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, folders->visualItemRect(other[0]).center());
    });
    Press(*form, "buttonoptimize");
    EXPECT_EQ(asked_.size(), 1u) << "one confirmation, for the run begun";
    EXPECT_EQ(Read("other/b.gif"), giftest::OptimizableAnimation(15));
    EXPECT_LT(Read("b.gif").size(), giftest::OptimizableAnimation(14).size());
    EXPECT_EQ(std::filesystem::path(form->Folder()), dir_.path());
    for (const char* name : {"buttontest", "buttonoptimize"})
        EXPECT_TRUE(form->findChild<QPushButton*>(name)->isEnabled()) << name;
    EXPECT_TRUE(folders->isEnabled());
    EXPECT_TRUE(files->isEnabled());

    // Escape during a run stops it as Abort does, and the window stays.
    Write("a.gif", giftest::OptimizableAnimation(13));
    QTimer::singleShot(0, form.get(), [&] { QTest::keyClick(form.get(), Qt::Key_Escape); });
    Press(*form, "buttonoptimize");
    EXPECT_EQ(Read("a.gif"), giftest::OptimizableAnimation(13));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(GifOptimizerFormTest, TheAnimatorsOwnAnimationShowsItsSaving)
{
    // Three one-colour frames as the animator writes them: a global and two local tables of 256 entries.
    const std::string animation = gifcorpus::AnimatorColours(40, 30, {{255, 0, 0}, {0, 128, 0}, {0, 0, 255}});
    for (const bool twoPass : {false, true}) {
        Write("anim.gif", animation);
        auto form = Open();
        if (twoPass)
            QTest::mouseClick(form->findChild<QCheckBox*>("CheckBoxTwoPass"), Qt::LeftButton, {}, QPoint(6, 6));
        ASSERT_EQ(form->findChild<QCheckBox*>("CheckBoxTwoPass")->isChecked(), twoPass);
        Press(*form, "buttonoptimize");
        const std::string optimized = Read("anim.gif");
        ASSERT_LT(optimized.size() * 10, animation.size()) << "two pass: " << twoPass;
        const auto saved = static_cast<long long>(animation.size() - optimized.size());
        EXPECT_EQ(form->findChild<QLabel*>("LabelSaved")->text().toStdString(), std::to_string(saved) + " bytes");
        EXPECT_EQ(Row(*form, "anim.gif")->text(2).toStdString(), std::to_string(optimized.size()));
        EXPECT_EQ(giftest::ComposeWithGiflib(optimized), giftest::ComposeWithGiflib(animation));
    }
}

TEST_F(GifOptimizerFormTest, EmptyFolderRunsNothing)
{
    auto form = Open();
    EXPECT_EQ(List(*form)->topLevelItemCount(), 0);
    Press(*form, "buttontest");
    EXPECT_EQ(form->findChild<QLabel*>("Label1")->text(), "");
    EXPECT_EQ(form->findChild<QLabel*>("LabelSaved")->text(), "0 bytes");
}

} // namespace
