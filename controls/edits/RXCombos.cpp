// The colour and font combo boxes.
#include "controls/edits/RXCombos.h"

#include "controls/common/SysColors.h"
#include "controls/flat/FlatUtilitys.h"
#include "platform/AnsiText.h"
#include "platform/qt/QtText.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>

namespace vx {

std::string ColorToHtml(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
    return text;
}

bool HtmlToColor(std::string_view text, TColor& color)
{
    if (!text.empty() && text[0] == '#')
        text.remove_prefix(1);
    if (text.size() != 6)
        return false;
    TColor rgb = 0;
    for (char c : text) {
        int digit = DigitValue(c, 16);
        if (digit < 0)
            return false;
        rgb = rgb << 4 | static_cast<TColor>(digit);
    }
    color = (rgb >> 16) | (rgb & 0x00FF00) | ((rgb & 0xFF) << 16);
    return true;
}

} // namespace vx

namespace {

struct BasicColor {
    TColor color;
    const char* name;
};

constexpr std::array<BasicColor, TColorComboBox::ColorCount> kColors{{
    {clBlack, "Black"}, {clMaroon, "Maroon"}, {clGreen, "Green"}, {clOlive, "Olive"},
    {clNavy, "Navy"}, {clPurple, "Purple"}, {clTeal, "Teal"}, {clGray, "Gray"},
    {clSilver, "Silver"}, {clRed, "Red"}, {clLime, "Lime"}, {clYellow, "Yellow"},
    {clBlue, "Blue"}, {clFuchsia, "Fuchsia"}, {clAqua, "Aqua"}, {clWhite, "White"},
}};

// Lets a combo box draw its own items at its own item height.
class OwnerDrawDelegate : public QStyledItemDelegate {
public:
    explicit OwnerDrawDelegate(TOwnerDrawComboBox& combo) : QStyledItemDelegate(&combo), combo_(combo) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        combo_.DrawItem(*painter, option.rect, index.row(), option.state & QStyle::State_Selected);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), combo_.ItemHeight());
    }

private:
    TOwnerDrawComboBox& combo_;
};

void FillItem(QPainter& painter, const QWidget& widget, const QRect& rect, bool selected)
{
    painter.fillRect(rect, widget.palette().color(selected ? QPalette::Highlight : QPalette::Base));
    painter.setPen(widget.palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
}

// Small marks standing beside TrueType and device font names.
QImage FontPicture(bool trueType)
{
    QImage image(16, 12, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const QColor first = trueType ? QColor(128, 128, 128) : QColor(0, 0, 128);
    const QColor second = trueType ? QColor(0, 0, 0) : QColor(0, 0, 128);
    p.fillRect(1, 1, 7, 2, first);
    p.fillRect(3, 1, 2, 9, first);
    p.fillRect(6, 3, 7, 2, second);
    p.fillRect(8, 3, 2, 9, second);
    return image;
}

const QImage& TrueTypePicture()
{
    static const QImage picture = FontPicture(true);
    return picture;
}

const QImage& DevicePicture()
{
    static const QImage picture = FontPicture(false);
    return picture;
}

} // namespace

TOwnerDrawComboBox::TOwnerDrawComboBox(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new OwnerDrawDelegate(*this));
    // The items change with the language: the box follows them.
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

namespace {

// What DrawItem puts before an item's text (a colour swatch, a font's picture).
int TextIndent(const TOwnerDrawComboBox& combo)
{
    const QRect item(0, 0, 1000, combo.ItemHeight());
    return combo.count() > 0 ? combo.TextRect(item, std::max(combo.currentIndex(), 0)).left() : 0;
}

} // namespace

QSize TOwnerDrawComboBox::sizeHint() const
{
    return QComboBox::sizeHint() + QSize(TextIndent(*this), 0);
}

QSize TOwnerDrawComboBox::minimumSizeHint() const
{
    return QComboBox::minimumSizeHint() + QSize(TextIndent(*this), 0);
}

void TOwnerDrawComboBox::changeEvent(QEvent* e)
{
    QComboBox::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        UpdateItemHeight();
}

void TColorNames::Changed()
{
    TStringList::Changed();
    if (UpdateCount() == 0)
        combo_.BuildList();
}

TColorComboBox::TColorComboBox(QWidget* parent) : TOwnerDrawComboBox(parent)
{
    UpdateItemHeight();
    BuildList();
    QObject::connect(this, &QComboBox::activated, [this](int index) {
        SetColorValue(itemData(index).value<TColor>());
        if (OnClick)
            OnClick(this);
    });
}

TColor TColorComboBox::ListColor(int index)
{
    return kColors.at(index).color;
}

std::string TColorComboBox::DefaultName(int index)
{
    return kColors.at(index).name;
}

std::string TColorComboBox::ItemName(int index) const
{
    return vx::FromQString(itemText(index));
}

void TColorComboBox::BuildList()
{
    QSignalBlocker block(this);
    clear();
    for (int i = 0; i < ColorCount; ++i) {
        const bool named = i < names_.Count() && !names_[i].empty();
        addItem(vx::ToQString(named ? names_[i] : DefaultName(i)), QVariant::fromValue(ListColor(i)));
    }
    setCurrentIndex(findData(QVariant::fromValue(colorValue_)));
    update();
}

void TColorComboBox::SetColorValue(TColor value)
{
    if (currentIndex() >= 0 && value == colorValue_)
        return;
    const int index = findData(QVariant::fromValue(value));
    if (index < 0)
        return;
    colorValue_ = value;
    if (index != currentIndex()) {
        QSignalBlocker block(this);
        setCurrentIndex(index);
    }
    update();
    if (OnChange)
        OnChange(this);
}

void TColorComboBox::SetDisplayNames(bool value)
{
    displayNames_ = value;
    update();
}

int TColorComboBox::MeasureItemHeight() const
{
    return std::max(QFontMetrics(font()).height() + 1, 9);
}

void TColorComboBox::DrawItem(QPainter& painter, const QRect& rect, int index, bool selected) const
{
    FillItem(painter, *this, rect, selected);
    const QColor text = painter.pen().color();
    const int right = displayNames_ ? rect.left() + 24 : rect.left() + rect.width() - 3;
    const QRect swatch = vx::WinRect(rect.left() + 2, rect.top() + 2, right, rect.top() + rect.height() - 2);
    painter.fillRect(swatch, vx::ToQColor(clWindowText));
    painter.fillRect(swatch.adjusted(1, 1, -1, -1), vx::ToQColor(itemData(index).value<TColor>()));
    if (displayNames_) {
        painter.setPen(text);
        painter.drawText(TextRect(rect, index), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, itemText(index));
    }
}

QRect TColorComboBox::TextRect(const QRect& rect, int) const
{
    if (!displayNames_)
        return {};
    return vx::WinRect(rect.left() + 28, rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
}

// The native frame and button, the current item drawn as in the list.
void TColorComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.frame = true;
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    if (currentIndex() >= 0)
        DrawItem(painter, field, currentIndex(), hasFocus());
}

TFontComboBox::TFontComboBox(QWidget* parent) : TOwnerDrawComboBox(parent)
{
    UpdateItemHeight();
    Rebuild();
    // Fonts installed or removed while the program runs.
    QObject::connect(qApp, &QGuiApplication::fontDatabaseChanged, this, [this] { Rebuild(); });
    QObject::connect(this, &QComboBox::activated, [this](int index) {
        fontName_ = vx::FromQString(itemText(index));
        if (OnClick)
            OnClick(this);
        Changed();
    });
}

void TFontComboBox::SetDevice(TFontDevice value)
{
    if (value == device_)
        return;
    device_ = value;
    Rebuild();
}

void TFontComboBox::SetOptions(int value)
{
    if (value == options_)
        return;
    options_ = value;
    Rebuild();
}

void TFontComboBox::SetTrueTypeOnly(bool value)
{
    SetOptions(value ? options_ | foTrueTypeOnly : options_ & ~foTrueTypeOnly);
}

int TFontComboBox::FontType(int index) const
{
    return itemData(index).toInt();
}

namespace {

TFontFace FaceOf(const QString& family)
{
    TFontFace face;
    face.Name = vx::FromQString(family);
    face.Type = QFontDatabase::isSmoothlyScalable(family) ? TFontComboBox::TrueTypeFont : 0;
    if (!QFontDatabase::isScalable(family) || QFontDatabase::isBitmapScalable(family))
        face.Type |= TFontComboBox::RasterFont;
    face.Ansi = QFontDatabase::writingSystems(family).contains(QFontDatabase::Latin);
    face.FixedPitch = QFontDatabase::isFixedPitch(family);
    return face;
}

bool Passes(const TFontFace& face, int options)
{
    if ((options & foAnsiOnly) && !face.Ansi)
        return false;
    if ((options & foTrueTypeOnly) && !(face.Type & TFontComboBox::TrueTypeFont))
        return false;
    if ((options & foFixedPitchOnly) && !face.FixedPitch)
        return false;
    // No font of this system uses the OEM character set.
    if (options & foOEMFontsOnly)
        return false;
    return !((options & foScalableOnly) && (face.Type & TFontComboBox::RasterFont));
}

} // namespace

std::vector<TFontFace> TFontComboBox::ScreenFonts()
{
    std::vector<TFontFace> faces;
    for (const QString& family : QFontDatabase::families())
        faces.push_back(FaceOf(family));
    return faces;
}

// Printing goes through the same font engine as the screen and embeds the
// faces it uses, so an installed printer prints every screen face; Qt names
// no faces resident in the printer itself.
std::vector<TFontFace> TFontComboBox::SystemPrinterFonts()
{
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return {};
    return ScreenFonts();
}

void TFontComboBox::Rebuild()
{
    const std::string before = fontName_;
    std::vector<TFontFace> faces;
    if (device_ != TFontDevice::fdPrinter)
        faces = ScreenFonts();
    if (device_ != TFontDevice::fdScreen) {
        std::vector<TFontFace> printer = PrinterFonts ? PrinterFonts() : SystemPrinterFonts();
        faces.insert(faces.end(), printer.begin(), printer.end());
    }
    std::set<std::string> seen;
    std::vector<TFontFace> listed;
    for (const TFontFace& face : faces)
        if (!seen.count(face.Name) && Passes(face, options_)) {
            seen.insert(face.Name);
            listed.push_back(face);
        }
    std::sort(listed.begin(), listed.end(),
              [](const TFontFace& a, const TFontFace& b) { return CompareText(a.Name, b.Name) < 0; });
    {
        QSignalBlocker block(this);
        clear();
        for (const TFontFace& face : listed)
            addItem(vx::ToQString(face.Name), face.Type);
    }
    SelectName();
    // A face the new list lacks leaves no name behind; owners hear of that once.
    if (fontName_ != before)
        Changed();
}

void TFontComboBox::SelectName()
{
    QSignalBlocker block(this);
    const std::string wanted = vx::AnsiUpperCase(fontName_);
    for (int i = 0; i < count(); ++i)
        if (vx::AnsiUpperCase(vx::FromQString(itemText(i))) == wanted) {
            setCurrentIndex(i);
            fontName_ = vx::FromQString(itemText(i));
            update();
            return;
        }
    setCurrentIndex(-1);
    fontName_.clear();
    update();
}

void TFontComboBox::SetFontName(const std::string& value)
{
    if (value == fontName_)
        return;
    fontName_ = value;
    SelectName();
    Changed();
}

void TFontComboBox::Changed()
{
    if (OnChange)
        OnChange(this);
}

int TFontComboBox::MeasureItemHeight() const
{
    return std::max({QFontMetrics(font()).height() + 1, TrueTypePicture().height() - 1, 9});
}

void TFontComboBox::DrawItem(QPainter& painter, const QRect& rect, int index, bool selected) const
{
    FillItem(painter, *this, rect, selected);
    if (const QImage* picture = Picture(index))
        painter.drawImage(rect.left() + 2, rect.top() + (rect.height() - picture->height()) / 2, *picture);
    painter.drawText(TextRect(rect, index), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, itemText(index));
}

const QImage* TFontComboBox::Picture(int index) const
{
    const int type = FontType(index);
    return type & TrueTypeFont ? &TrueTypePicture() : type & DeviceFont ? &DevicePicture() : nullptr;
}

QRect TFontComboBox::TextRect(const QRect& rect, int index) const
{
    const QImage* picture = Picture(index);
    const int textLeft = rect.left() + (picture ? picture->width() : 20) + 6;
    return vx::WinRect(textLeft, rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
}
