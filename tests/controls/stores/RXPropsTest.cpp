#include "controls/stores/RXProps.h"

#include "platform/IniFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QObject>
#include <QStringList>
#include <QWidget>

using vx::test::TempDir;

// A value object with properties of its own, as a stored "other object" and
// as the items of a collection.
struct TBand {
    Q_GADGET
    Q_PROPERTY(int Low MEMBER low)
    Q_PROPERTY(int High MEMBER high)
    Q_PROPERTY(QString Caption MEMBER caption)
public:
    int low = 0;
    int high = 0;
    QString caption;
    bool operator==(const TBand&) const = default;
};
Q_DECLARE_METATYPE(TBand)

class TBandHolder : public QObject {
    Q_OBJECT
    Q_PROPERTY(TBand Limits MEMBER limits)
    Q_PROPERTY(QList<TBand> Bands MEMBER bands)
public:
    TBand limits;
    QList<TBand> bands;
};

// A component with one property of each kind the storage knows.
class TPropHolder : public QObject {
    Q_OBJECT
public:
    enum TShade { shLight, shDark };
    Q_ENUM(TShade)
    enum TStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4 };
    Q_DECLARE_FLAGS(TStyles, TStyle)
    Q_FLAG(TStyles)

    Q_PROPERTY(QStringList Items MEMBER items)
    Q_PROPERTY(QObject* Buddy MEMBER buddy)
    Q_PROPERTY(double Ratio MEMBER ratio)
    Q_PROPERTY(float Scale MEMBER scale)
    Q_PROPERTY(int Count MEMBER count)
    Q_PROPERTY(qlonglong Big MEMBER big)
    Q_PROPERTY(QChar Letter MEMBER letter)
    Q_PROPERTY(QColor Color MEMBER color)
    Q_PROPERTY(TShade Shade MEMBER shade)
    Q_PROPERTY(TStyles Style READ Style WRITE SetStyle)
    Q_PROPERTY(QString Caption MEMBER caption)

    QStringList items;
    QObject* buddy = nullptr;
    double ratio = 0;
    float scale = 0;
    int count = 0;
    qlonglong big = 0;
    QChar letter;
    QColor color;
    TShade shade = shLight;
    TStyles style;
    QString caption;

    TStyles Style() const { return style; }
    void SetStyle(TStyles value) { style = value; }
};
Q_DECLARE_OPERATORS_FOR_FLAGS(TPropHolder::TStyles)

TEST(RXProps, StoredItems)
{
    EXPECT_EQ(vx::CreateStoredItem("Edit1", "Text"), "Edit1.Text");
    EXPECT_EQ(vx::CreateStoredItem("", "Text"), "");
    std::string component, property;
    EXPECT_TRUE(vx::ParseStoredItem(" Edit1 . Font.Size ", component, property));
    EXPECT_EQ(component, "Edit1");
    EXPECT_EQ(property, "Font.Size");
    EXPECT_FALSE(vx::ParseStoredItem("Edit1.", component, property));
    EXPECT_FALSE(vx::ParseStoredItem("NoDot", component, property));
}

TEST(RXProps, UpdateStoredListBothWays)
{
    QWidget form;
    auto* holder = new TPropHolder;
    holder->setParent(&form);
    holder->setObjectName("Holder");
    TStringList list;
    list.SetText("holder.Count\nGone.Count\nbad\nHolder.Ratio");
    vx::UpdateStoredList(&form, list, true);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Objects(0), reinterpret_cast<TObjectSlot>(holder));

    holder->setObjectName("Renamed");
    vx::UpdateStoredList(&form, list, false);
    EXPECT_EQ(list.Text(), "Renamed.Count\r\nRenamed.Ratio\r\n");
    delete holder;
    vx::UpdateStoredList(&form, list, false);
    EXPECT_EQ(list.Count(), 0) << "lines of a component that went are dropped";
}

TEST(RXProps, EveryKindRoundTrips)
{
    TempDir dir;
    TIniFile ini(dir.file("p.ini"));
    QWidget form;
    form.setObjectName("Form1");
    auto* holder = new TPropHolder;
    holder->setParent(&form);
    holder->setObjectName("Holder");
    auto* other = new QObject(&form);
    other->setObjectName("Other");

    holder->items = {"one", " two ", ""};
    holder->buddy = other;
    holder->ratio = 0.1 + 0.2;
    holder->scale = 1.5f;
    holder->count = -7;
    holder->big = 1234567890123LL;
    holder->letter = QChar(0x0436); // ж: two bytes of UTF-8
    holder->color = QColor(0x12, 0x34, 0x56);
    holder->shade = TPropHolder::shDark;
    holder->style = TPropHolder::fsBold | TPropHolder::fsUnderline;
    holder->caption = " spaced ";

    TStringList list;
    list.SetText("Holder.Items\nHolder.Buddy\nHolder.Ratio\nHolder.Scale\nHolder.Count\nHolder.Big\n"
                 "Holder.Letter\nHolder.Color\nHolder.Shade\nHolder.Style\nHolder.Caption");
    vx::TPropsStorage(&form, &ini, "S").StoreObjectsProps(list);
    EXPECT_EQ(ini.ReadString("S", "Holder_Style", ""), "[fsBold,fsUnderline]");
    EXPECT_EQ(ini.ReadString("S", "Holder_Shade", ""), "shDark");
    EXPECT_EQ(ini.ReadString("S", "Holder_Buddy", ""), "Other");
    EXPECT_EQ(ini.ReadString("S.Holder_Items", "Count", ""), "3");

    TPropHolder fresh;
    fresh.setParent(&form);
    fresh.setObjectName("Holder");
    holder->setObjectName("Old");
    vx::TPropsStorage(&form, &ini, "S").LoadObjectsProps(list);
    EXPECT_EQ(fresh.items, (QStringList{"one", " two ", ""}));
    EXPECT_EQ(fresh.buddy, other);
    EXPECT_DOUBLE_EQ(fresh.ratio, 0.3) << "15 significant digits";
    EXPECT_EQ(fresh.scale, 1.5f);
    EXPECT_EQ(fresh.count, -7);
    EXPECT_EQ(fresh.big, 1234567890123LL);
    EXPECT_EQ(fresh.letter, QChar(0x0436));
    EXPECT_EQ(fresh.color, QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(fresh.shade, TPropHolder::shDark);
    EXPECT_EQ(fresh.style, TPropHolder::fsBold | TPropHolder::fsUnderline);
    EXPECT_EQ(fresh.caption, " spaced ");
    fresh.setParent(nullptr);
}

TEST(RXProps, BadAndUnknownTexts)
{
    TempDir dir;
    TIniFile ini(dir.file("p.ini"));
    QWidget form;
    TPropHolder holder;
    holder.setParent(&form);
    holder.setObjectName("H");
    holder.count = 5;
    holder.big = 9;
    holder.shade = TPropHolder::shDark;
    holder.items = {"kept"};
    holder.buddy = &form;
    ini.WriteString("S", "H_Count", "12abc");
    ini.WriteString("S", "H_Big", "99999999999999999999999");
    ini.WriteString("S", "H_Shade", "shPurple");
    ini.WriteString("S", "H_Style", "[fsItalic, fsNoSuch] fsbold");
    ini.WriteString("S", "H_Items", "ignored");
    ini.WriteInteger("S.H_Items", "Count", 0);
    ini.WriteString("S", "H_Buddy", "NoWindow.Other");
    TStringList list;
    list.SetText("H.Count\nH.Big\nH.Shade\nH.Style\nH.Items\nH.Buddy");
    vx::TPropsStorage(&form, &ini, "S").LoadObjectsProps(list);
    EXPECT_EQ(holder.count, 0) << "a bad number reads as 0";
    EXPECT_EQ(holder.big, 0) << "so does one out of range";
    EXPECT_EQ(holder.shade, TPropHolder::shDark) << "an unknown name changes nothing";
    EXPECT_EQ(holder.style, TPropHolder::fsItalic | TPropHolder::fsBold);
    EXPECT_EQ(holder.items, QStringList{"kept"}) << "no positive count leaves the list";
    EXPECT_EQ(holder.buddy, &form) << "an owner that is not found changes nothing";

    ini.WriteString("S", "H_Buddy", "(NULL)");
    vx::TPropsStorage(&form, &ini, "S").LoadObjectsProps(list);
    EXPECT_EQ(holder.buddy, nullptr);
    holder.setParent(nullptr);
}

TEST(RXProps, OtherObjectsAndCollectionsKeepTheirPropertiesUnderTheirNames)
{
    TempDir dir;
    TIniFile ini(dir.file("b.ini"));
    QWidget form;
    auto* holder = new TBandHolder;
    holder->setParent(&form);
    holder->setObjectName("Holder");
    holder->limits = {3, 9, "Middle"};
    holder->bands = {{0, 10, "Low band"}, {10, 20, "High band"}};
    TStringList list;
    list.SetText("Holder.Limits\nHolder.Bands");
    {
        vx::TPropsStorage storage(&form, &ini, "F");
        storage.StoreObjectsProps(list);
    }
    EXPECT_EQ(ini.ReadString("F", "Holder_LimitsLow", ""), "3");
    EXPECT_EQ(ini.ReadString("F", "Holder_LimitsHigh", ""), "9");
    EXPECT_EQ(ini.ReadString("F", "Holder_LimitsCaption", ""), "Middle");
    EXPECT_FALSE(ini.ValueExists("F", "Holder_Limits")) << "the object's properties, not the object";
    EXPECT_EQ(ini.ReadString("F.Holder_Bands", "Count", ""), "2");
    EXPECT_EQ(ini.ReadString("F.Holder_Bands", "Item1_Caption", ""), "High band");
    EXPECT_EQ(ini.ReadString("F.Holder_Bands", "Item0_High", ""), "10");

    holder->limits = {};
    holder->bands = {{7, 7, "other"}};
    ini.WriteString("F", "Holder_LimitsHigh", "not a number");
    {
        vx::TPropsStorage storage(&form, &ini, "F");
        storage.LoadObjectsProps(list);
    }
    EXPECT_EQ(holder->limits, (TBand{3, 0, "Middle"})) << "a bad number reads as 0";
    EXPECT_EQ(holder->bands, (QList<TBand>{{0, 10, "Low band"}, {10, 20, "High band"}}));

    ini.WriteString("F.Holder_Bands", "Count", "0");
    holder->bands = {{7, 7, "kept"}};
    vx::TPropsStorage(&form, &ini, "F").LoadObjectsProps(list);
    EXPECT_EQ(holder->bands, (QList<TBand>{{7, 7, "kept"}})) << "no count leaves the collection as it is";
    holder->setParent(nullptr);
    delete holder;
}

#include "RXPropsTest.moc"
