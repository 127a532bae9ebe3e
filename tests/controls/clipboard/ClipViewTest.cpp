// Tests of the clipboard viewer and its palette grid.
#include "controls/clipboard/ClipView.h"

#include "controls/clipboard/ClipIcon.h"
#include "controls/clipboard/ComponentStream.h"
#include "tests/controls/FlatTestSupport.h"

#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vx;

namespace {

void Put(std::initializer_list<std::pair<const char*, QByteArray>> formats)
{
    auto* data = new QMimeData;
    for (const auto& [name, bytes] : formats)
        data->setData(QString::fromLatin1(name), bytes);
    QGuiApplication::clipboard()->setMimeData(data);
}

struct ClipViewerFixture : ::testing::Test {
    std::unique_ptr<TClipboardViewer> viewer;
    int changes = 0;
    void SetUp() override
    {
        QGuiApplication::clipboard()->clear();
        viewer = std::make_unique<TClipboardViewer>();
        viewer->resize(300, 300);
        viewer->show();
        viewer->OnChange = [this](QObject*) { ++changes; };
    }
    void TearDown() override
    {
        viewer.reset();
        QGuiApplication::clipboard()->clear();
    }
    QPlainTextEdit* Memo() const { return dynamic_cast<QPlainTextEdit*>(viewer->View()); }
};

} // namespace

TEST_F(ClipViewerFixture, TextIsShownReadOnlyWithBothScrollBars)
{
    EXPECT_EQ(viewer->View(), nullptr);
    EXPECT_EQ(viewer->ViewFormat(), cvEmpty);
    QGuiApplication::clipboard()->setText(QStringLiteral("copied text"));
    EXPECT_GE(changes, 1);
    ASSERT_NE(Memo(), nullptr);
    EXPECT_EQ(Memo()->toPlainText(), QStringLiteral("copied text"));
    EXPECT_TRUE(Memo()->isReadOnly());
    EXPECT_EQ(Memo()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(Memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(viewer->GetDrawFormat(), cvText);
    EXPECT_EQ(viewer->ViewFormat(), cvDefault);

    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(viewer->View(), nullptr);
    EXPECT_EQ(viewer->ViewFormat(), cvEmpty);
}

TEST_F(ClipViewerFixture, OemTextUsesTheTerminalFont)
{
    Put({{OemTextClipboardFormat, QByteArray("dir c:\\")}});
    EXPECT_EQ(viewer->GetDrawFormat(), cvOemText);
    ASSERT_NE(Memo(), nullptr);
    EXPECT_EQ(Memo()->font().family(), QStringLiteral("Terminal"));
    EXPECT_EQ(Memo()->toPlainText(), QStringLiteral("dir c:\\"));
}

TEST_F(ClipViewerFixture, AFormatTheClipboardLacksFallsBackToDefault)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("only text"));
    viewer->SetViewFormat(cvBitmap);
    EXPECT_EQ(viewer->ViewFormat(), cvDefault);
    ASSERT_NE(Memo(), nullptr);
    EXPECT_EQ(Memo()->toPlainText(), QStringLiteral("only text"));

    auto* both = new QMimeData;
    both->setText(QStringLiteral("t"));
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    both->setImageData(image);
    QGuiApplication::clipboard()->setMimeData(both);
    EXPECT_EQ(viewer->GetDrawFormat(), cvText);
    viewer->SetViewFormat(cvBitmap);
    EXPECT_EQ(viewer->ViewFormat(), cvBitmap);
    auto* label = dynamic_cast<QLabel*>(viewer->View());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->size(), QSize(40, 20));
}

TEST_F(ClipViewerFixture, ImagesAreCentredAndFollowResizes)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QGuiApplication::clipboard()->setImage(image);
    EXPECT_EQ(viewer->GetDrawFormat(), cvBitmap);
    QWidget* view = viewer->View();
    ASSERT_NE(view, nullptr);
    QCoreApplication::processEvents();
    const QRect area = viewer->viewport()->rect();
    EXPECT_EQ(view->geometry().left(), (area.width() - 40) / 2);
    EXPECT_EQ(view->geometry().top(), (area.height() - 20) / 2);
    viewer->resize(100, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->geometry().left(), (viewer->viewport()->width() - 40) / 2);
}

TEST_F(ClipViewerFixture, OtherFormatsPickedInOrder)
{
    Put({{EnhMetafileClipboardFormat, QByteArray("EMF")}});
    EXPECT_EQ(viewer->GetDrawFormat(), cvMetafile);
    ASSERT_NE(dynamic_cast<QLabel*>(viewer->View()), nullptr) << "a metafile shows as an empty image";

    QImage png(8, 6, QImage::Format_RGB32);
    png.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    png.save(&buffer, "PNG");
    Put({{PictureClipboardFormat, bytes}, {PaletteClipboardFormat, QByteArray(8, '\x10')}});
    EXPECT_EQ(viewer->GetDrawFormat(), cvPicture);
    auto* label = dynamic_cast<QLabel*>(viewer->View());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->size(), QSize(8, 6));

    Put({{ComponentClipboardFormat, QByteArray("object Button1: TButton\nend")}});
    EXPECT_EQ(viewer->GetDrawFormat(), cvComponent);
    ASSERT_NE(Memo(), nullptr);
    EXPECT_EQ(Memo()->toPlainText(), QStringLiteral("Cannot display. Data in Clipboard is in an unknown format."))
        << "a component that does not read is of no known format";

    Put({{"application/x-something-else", QByteArray("?")}});
    EXPECT_EQ(viewer->GetDrawFormat(), cvUnknown);
    ASSERT_NE(Memo(), nullptr);
    EXPECT_EQ(Memo()->toPlainText(), QStringLiteral("Cannot display. Data in Clipboard is in an unknown format."));
}

TEST_F(ClipViewerFixture, IconsComeThroughTheIconFormat)
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::yellow);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(icon.save(&buffer, "ICO"));
    CopyIconToClipboard(bytes);
    EXPECT_EQ(viewer->GetDrawFormat(), cvIcon);
    auto* label = dynamic_cast<QLabel*>(viewer->View());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->size(), QSize(16, 16));
}

TEST_F(ClipViewerFixture, PalettesShowInAGrid)
{
    QByteArray bytes;
    for (int i = 0; i < 20; ++i)
        bytes.append(char(i * 10)).append(char(0)).append(char(255)).append(char(0));
    Put({{PaletteClipboardFormat, bytes}});
    EXPECT_EQ(viewer->GetDrawFormat(), cvPalette);
    auto* grid = dynamic_cast<TPaletteGrid*>(viewer->View());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->Count(), 20);
    TColor c = 0;
    ASSERT_TRUE(grid->CellColor(1, 0, c));
    EXPECT_EQ(c, 0xFF000Au);
}

TEST(PaletteGrid, ColumnsFollowTheWidthAndEmptyCellsCannotBeSelected)
{
    TPaletteGrid grid;
    grid.resize(300, 200);
    grid.show();
    EXPECT_TRUE(grid.SelectCell(0, 0)) << "with no palette";
    std::vector<TPaletteEntry> palette(20, TPaletteEntry{1, 2, 3, 0});
    grid.SetPalette(palette);
    grid.resize(200 + (grid.width() - grid.viewport()->width()), 200);
    QCoreApplication::processEvents();
    ASSERT_EQ(grid.viewport()->width(), 200);
    EXPECT_EQ(grid.columnCount(), 10);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.columnWidth(0), 20);
    EXPECT_EQ(grid.viewport()->height(), 2 * 20) << "as high as its rows";
    grid.resize(150 + (grid.width() - grid.viewport()->width()), 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.columnCount(), 7);
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.viewport()->height(), 3 * 20);
    EXPECT_TRUE(grid.SelectCell(5, 2));
    EXPECT_FALSE(grid.SelectCell(6, 2));
    EXPECT_EQ(grid.item(2, 6)->flags() & Qt::ItemIsSelectable, Qt::NoItemFlags);
    grid.setCurrentCell(2, 6);
    EXPECT_TRUE(grid.selectedItems().isEmpty());
    EXPECT_EQ(grid.Entries()[20].Red, 0x80);
    EXPECT_EQ(grid.Entries()[255].Flags, 0x80);
}

TEST(PaletteGrid, BytesAreBoundedByTheirLengthAndTheEntryLimit)
{
    EXPECT_EQ(PaletteFromBytes(QByteArray(7, '\1')).size(), 1u);
    EXPECT_EQ(PaletteFromBytes(QByteArray(4 * 300, '\1')).size(), 256u);
    EXPECT_TRUE(PaletteFromBytes(QByteArray()).empty());
}

namespace {

QByteArray Streamed(const TStreamedComponent& component)
{
    std::string bytes;
    EXPECT_TRUE(WriteComponent(component, bytes));
    return QByteArray::fromStdString(bytes);
}

TStreamedProperty Int(const char* name, int value)
{
    return {name, TStreamedProperty::Integer, value, {}};
}

TStreamedProperty Str(const char* name, const char* text)
{
    return {name, TStreamedProperty::String, 0, text};
}

} // namespace

TEST_F(ClipViewerFixture, AControlOnTheClipboardIsShownItselfCentred)
{
    Put({{ComponentClipboardFormat,
          Streamed({"TButton", "Button1", {Int("Width", 75), Int("Height", 25), Str("Caption", "OK")}})}});
    EXPECT_EQ(viewer->GetDrawFormat(), cvComponent);
    auto* button = dynamic_cast<QPushButton*>(viewer->View());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "OK");
    EXPECT_EQ(button->objectName(), "Button1");
    EXPECT_EQ(button->size(), QSize(75, 25));
    QCoreApplication::processEvents();
    const QSize area = viewer->viewport()->size();
    EXPECT_EQ(button->pos(), QPoint((area.width() - 75) / 2, (area.height() - 25) / 2));
    EXPECT_TRUE(viewer->isAncestorOf(button)) << "the control belongs to the viewer";

    // The pasted control works as one: a click through the window reaches it.
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    vx::test::Click(*button, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ClipViewerFixture, OtherComponentsShowTheirTextForm)
{
    struct Row {
        TStreamedComponent component;
        const char* text;
    };
    const Row rows[] = {
        {{"TTimer", "Timer1", {Int("Interval", 500)}}, "object Timer1: TTimer\n  Interval = 500\nend"},
        {{"TUnknownThing", "Thing1", {Str("Caption", "it's\tthere")}},
         "object Thing1: TUnknownThing\n  Caption = 'it''s'#9'there'\nend"},
        {{"TButton", "Button2", {Int("Colour", 3)}}, "object Button2: TButton\n  Colour = 3\nend"},
    };
    for (const Row& row : rows) {
        Put({{ComponentClipboardFormat, Streamed(row.component)}});
        ASSERT_NE(Memo(), nullptr) << row.text;
        EXPECT_EQ(Memo()->toPlainText(), QString::fromLatin1(row.text));
        EXPECT_TRUE(Memo()->isReadOnly());
    }
    EXPECT_EQ(viewer->findChildren<QTimer*>(QStringLiteral("Timer1")).size(), 0) << "the component is freed";
}
