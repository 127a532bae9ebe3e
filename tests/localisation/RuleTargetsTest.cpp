// Texts that components declare as properties under the scan rules' names
// (a query's SQL, a field's DisplayLabel, a navigator's Hints) are collected
// into the native file and translated like any caption.
#include "localisation/KLangEd.h"
#include "localisation/qt/KMLang.h"
#include "localisation/qt/KMLangAdapters.h"
#include "tests/localisation/TestWindow.h"
#include "tests/support/TempDir.h"

#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class TDataComponent : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList SQL MEMBER sql)
    Q_PROPERTY(QString DisplayLabel MEMBER displayLabel)
    Q_PROPERTY(QStringList Hints MEMBER hints)
    Q_PROPERTY(QString Secret MEMBER secret)
public:
    using QObject::QObject;
    QStringList sql{"Select Name from Customers"};
    QString displayLabel = "Customer name";
    QStringList hints{"First record", "Last record"};
    QString secret = "Not translated";
};

std::unique_ptr<QWidget> MakeDataWindow()
{
    auto window = std::make_unique<QWidget>();
    window->setObjectName("DataForm");
    auto* lang = new TKMLang(window.get());
    lang->setObjectName("KMLang1");
    auto* data = new TDataComponent(window.get());
    data->setObjectName("Query1");
    lang->Loaded();
    return window;
}

TEST(RuleTargets, DeclaredTextsAreCollectedAndTranslated)
{
    vx::test::TempDir dir("vellumix-rules");
    TkLangFileEdit file;
    vx::test::CollectNativeFile("DataForm", MakeDataWindow, dir.path().string(), file);
    ASSERT_NE(file.FindString("DataForm", "Query1.SQL"), nullptr);
    EXPECT_EQ(file.FindString("DataForm", "Query1.SQL")->Text(), "Select Name from Customers\r\n");
    ASSERT_NE(file.FindString("DataForm", "Query1.DisplayLabel"), nullptr);
    EXPECT_EQ(file.FindString("DataForm", "Query1.Hints")->Text(), "First record\r\nLast record\r\n");
    EXPECT_EQ(file.FindString("DataForm", "Query1.Secret"), nullptr) << "no rule names it";

    file.SetFlag(lfNative, false);
    ASSERT_TRUE(file.Props().Find("DataForm", "Query1.DisplayLabel"));
    file.SetString(file.Props().CurrentIdent(), "Klantnaam", 0);
    ASSERT_TRUE(file.Props().Find("DataForm", "Query1.Hints"));
    file.SetString(file.Props().CurrentIdent(), "Eerste\r\nLaatste\r\n", 0);
    file.SaveAs(dir.file("Nederlands.lng"));
    TKAppLanguage::Instance().SetLangDir(dir.path().string());
    std::unique_ptr<QWidget> window = MakeDataWindow();
    TKAppLanguage::Instance().SetLanguage("Nederlands");
    auto* data = window->findChild<TDataComponent*>("Query1");
    EXPECT_EQ(data->displayLabel, "Klantnaam");
    EXPECT_EQ(data->hints, (QStringList{"Eerste", "Laatste"}));
    EXPECT_EQ(data->sql, QStringList{"Select Name from Customers"});
    TKAppLanguage::Instance().SetLanguage("Native");
    EXPECT_EQ(data->displayLabel, "Customer name");
    TKAppLanguage::Instance().SetLangDir("");
}

} // namespace

#include "RuleTargetsTest.moc"
