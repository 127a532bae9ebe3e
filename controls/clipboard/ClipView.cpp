// The clipboard viewer and its palette grid.
#include "controls/clipboard/ClipView.h"

#include "controls/common/VCLUtils.h"
#include "controls/clipboard/ClipIcon.h"
#include "controls/clipboard/ComponentClasses.h"
#include "editor/qt/SysColors.h"
#include "platform/qt/QtText.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace vx {

namespace {

const QMimeData* ClipboardData()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->mimeData() : nullptr;
}

bool ClipboardEmpty(const QMimeData* data)
{
    return !data || data->formats().isEmpty();
}

// Whether the clipboard holds the clipboard format behind a view format.
bool ClipboardHas(const QMimeData* data, TClipboardViewFormat format)
{
    if (!data)
        return false;
    switch (format) {
    case cvText:
        return data->hasText();
    case cvBitmap:
        return data->hasImage();
    case cvMetafile: // either kind of metafile stands for the other, as the desktop converts them
        return data->hasFormat(QString::fromLatin1(MetafileClipboardFormat)) ||
               data->hasFormat(QString::fromLatin1(EnhMetafileClipboardFormat));
    case cvPalette:
        return data->hasFormat(QString::fromLatin1(PaletteClipboardFormat));
    case cvOemText:
        return data->hasFormat(QString::fromLatin1(OemTextClipboardFormat));
    case cvPicture:
        return data->hasFormat(QString::fromLatin1(PictureClipboardFormat));
    case cvComponent:
        return data->hasFormat(QString::fromLatin1(ComponentClipboardFormat));
    case cvIcon:
        return data->hasFormat(QString::fromLatin1(IconClipboardFormat));
    default:
        return false;
    }
}

QString FormatBytes(const QMimeData* data, const char* format)
{
    return ToQString(data->data(QString::fromLatin1(format)).toStdString());
}

const QString UnknownFormatText = QStringLiteral("Cannot display. Data in Clipboard is in an unknown format.");

bool ClipboardComponent(const QMimeData* data, TStreamedComponent& component)
{
    return ReadComponent(data->data(QString::fromLatin1(ComponentClipboardFormat)).toStdString(), component);
}

// The component's text form; damaged data is of no format the viewer knows.
QString ComponentTextOf(const QMimeData* data)
{
    TStreamedComponent component;
    if (!ClipboardComponent(data, component))
        return UnknownFormatText;
    QStringList lines;
    for (const std::string& line : ComponentText(component))
        lines << ToQString(line);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

std::vector<TPaletteEntry> PaletteFromBytes(const QByteArray& bytes)
{
    const int count = std::min(static_cast<int>(bytes.size() / 4), TPaletteGrid::MaxEntries);
    std::vector<TPaletteEntry> entries(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto byte = [&](int k) { return static_cast<std::uint8_t>(bytes[i * 4 + k]); };
        entries[static_cast<std::size_t>(i)] = {byte(0), byte(1), byte(2), byte(3)};
    }
    return entries;
}

class TPaletteCellDelegate : public QStyledItemDelegate {
public:
    explicit TPaletteCellDelegate(TPaletteGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QColor gridColor = grid_.palette().color(QPalette::Base);
        TColor cell = clBlack;
        if (!grid_.CellColor(index.column(), index.row(), cell)) {
            painter->fillRect(option.rect, gridColor);
            return;
        }
        QRect r = option.rect;
        painter->save();
        painter->setPen(ToQColor(clBtnFace));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
        Frame3D(*painter, r, clBtnShadow, clBtnHighlight);
        Frame3D(*painter, r, clBtnShadow, clBtnHighlight);
        painter->fillRect(r, ToQColor(cell));
        if ((option.state & QStyle::State_Selected) != 0) {
            r.adjust(1, 1, -1, -1);
            painter->setPen(QPen(gridColor, 1, Qt::DotLine));
            painter->drawRect(r.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

private:
    TPaletteGrid& grid_;
};

TPaletteGrid::TPaletteGrid(QWidget* parent) : QTableWidget(parent)
{
    setItemDelegate(new TPaletteCellDelegate(*this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(DefaultColWidth());
    verticalHeader()->setDefaultSectionSize(DefaultRowHeight());
    setShowGrid(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setColumnCount(0);
    setRowCount(0);
}

void TPaletteGrid::SetPalette(const std::vector<TPaletteEntry>& palette)
{
    palette_ = palette;
    count_ = std::min(static_cast<int>(palette_.size()), MaxEntries);
    for (int i = 0; i < MaxEntries; ++i)
        entries_[static_cast<std::size_t>(i)] =
            i < count_ ? palette_[static_cast<std::size_t>(i)] : TPaletteEntry{0x80, 0x80, 0x80, 0x80};
    Resize();
}

bool TPaletteGrid::CellColor(int col, int row, TColor& color) const
{
    const int index = col + row * std::max(columnCount(), 1);
    if (col < 0 || row < 0 || index >= count_)
        return false;
    const TPaletteEntry& e = entries_[static_cast<std::size_t>(index)];
    color = static_cast<TColor>(e.Red) | (static_cast<TColor>(e.Green) << 8) | (static_cast<TColor>(e.Blue) << 16);
    return true;
}

bool TPaletteGrid::SelectCell(int col, int row) const
{
    TColor unused = 0;
    return (col == 0 && row == 0) || CellColor(col, row, unused);
}

void TPaletteGrid::Resize()
{
    if (sizing_)
        return;
    sizing_ = true;
    // A grid narrower than one cell still shows one column.
    const int columns = std::max(viewport()->width() / DefaultColWidth(), 1);
    const int rows = std::max(1, (count_ + columns - 1) / columns);
    clearSelection();
    setColumnCount(columns);
    setRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            auto* item = new QTableWidgetItem;
            item->setFlags(SelectCell(c, r) ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags);
            setItem(r, c, item);
        }
    // The grid is as high as its rows.
    const int frame = height() - viewport()->height();
    resize(width(), DefaultRowHeight() * rows + frame);
    sizing_ = false;
}

void TPaletteGrid::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    Resize();
}

TCustomClipboardViewer::TCustomClipboardViewer(QWidget* parent) : QScrollArea(parent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(clWindow));
    setPalette(pal);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] { ClipboardChanged(); });
    ClipboardChanged();
}

TCustomClipboardViewer::~TCustomClipboardViewer() = default;

QWidget* TCustomClipboardViewer::View() const
{
    return widget();
}

void TCustomClipboardViewer::SetViewFormat(TClipboardViewFormat value)
{
    if (value == viewFormat_)
        return;
    viewFormat_ = ClipboardHas(ClipboardData(), value) && ValidFormat(value) ? value : cvDefault;
    UpdateView();
}

bool TCustomClipboardViewer::ValidFormat(TClipboardViewFormat Format) const
{
    if (Format == cvDefault || Format == cvEmpty || Format == cvUnknown)
        return true;
    return ClipboardHas(ClipboardData(), Format);
}

TClipboardViewFormat TCustomClipboardViewer::GetDrawFormat() const
{
    const QMimeData* data = ClipboardData();
    if (ClipboardEmpty(data))
        return cvEmpty;
    if (viewFormat_ != cvDefault)
        return viewFormat_;
    static constexpr TClipboardViewFormat kOrder[] = {cvText, cvOemText, cvBitmap,    cvMetafile,
                                                      cvIcon, cvPicture, cvComponent, cvPalette};
    for (TClipboardViewFormat f : kOrder)
        if (ClipboardHas(data, f))
            return f;
    return cvUnknown;
}

void TCustomClipboardViewer::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomClipboardViewer::ClipboardChanged()
{
    const QMimeData* data = ClipboardData();
    if (ClipboardEmpty(data))
        viewFormat_ = cvEmpty;
    else if (!ClipboardHas(data, viewFormat_))
        viewFormat_ = cvDefault;
    Change();
    UpdateView();
}

void TCustomClipboardViewer::Place(QWidget* child, bool fill)
{
    setWidgetResizable(fill);
    setAlignment(fill ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignCenter);
    setWidget(child);
    CenterView();
}

void TCustomClipboardViewer::CenterView()
{
    QWidget* child = widget();
    if (!child || widgetResizable())
        return;
    const QSize area = viewport()->size();
    QPoint at = child->pos();
    if (child->width() < area.width())
        at.setX((area.width() - child->width()) / 2);
    if (child->height() < area.height())
        at.setY((area.height() - child->height()) / 2);
    child->move(at);
}

void TCustomClipboardViewer::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    CenterView();
}

void TCustomClipboardViewer::scrollContentsBy(int dx, int dy)
{
    QScrollArea::scrollContentsBy(dx, dy);
    CenterView();
}

bool TCustomClipboardViewer::eventFilter(QObject* watched, QEvent* event)
{
    const bool handled = QScrollArea::eventFilter(watched, event);
    // Qt places the child again on its resizes and layout requests.
    if (watched == widget() && event->type() != QEvent::Move)
        CenterView();
    return handled;
}

void TCustomClipboardViewer::UpdateView()
{
    delete takeWidget();
    const QMimeData* data = ClipboardData();
    if (ClipboardEmpty(data))
        return;
    TClipboardViewFormat format = GetDrawFormat();
    if (!ValidFormat(format))
        format = cvUnknown;
    switch (format) {
    case cvBitmap:
    case cvMetafile:
    case cvPicture:
    case cvIcon:
        ShowImage(format, data);
        break;
    case cvPalette:
        ShowPalette(data);
        break;
    case cvComponent:
        ShowComponent(data);
        break;
    default:
        ShowText(format, data);
        break;
    }
}

void TCustomClipboardViewer::ShowText(TClipboardViewFormat format, const QMimeData* data)
{
    auto* memo = new QPlainTextEdit;
    memo->setFrameShape(QFrame::NoFrame);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setReadOnly(true);
    if (format == cvOemText) {
        QFont terminal(QStringLiteral("Terminal"));
        terminal.setStyleHint(QFont::TypeWriter);
        memo->setFont(terminal);
    }
    if (data->hasText())
        memo->setPlainText(data->text());
    else if (format == cvOemText && ClipboardHas(data, cvOemText))
        memo->setPlainText(FormatBytes(data, OemTextClipboardFormat));
    else if ((format == cvText || format == cvComponent) && ClipboardHas(data, cvComponent))
        memo->setPlainText(ComponentTextOf(data));
    else
        memo->setPlainText(UnknownFormatText);
    Place(memo, true);
}

// A control from the clipboard is shown itself, centred; any other component
// (or one that cannot be made here) in its text form.
void TCustomClipboardViewer::ShowComponent(const QMimeData* data)
{
    TStreamedComponent component;
    QObject* made = ClipboardComponent(data, component) ? CreateStreamedComponent(component, this) : nullptr;
    if (auto* control = qobject_cast<QWidget*>(made)) {
        control->move(1, 1);
        Place(control, false);
        return;
    }
    delete made;
    ShowText(cvComponent, data);
}

void TCustomClipboardViewer::ShowImage(TClipboardViewFormat format, const QMimeData* data)
{
    auto* image = new QLabel;
    QPixmap picture;
    if (format == cvIcon && ClipboardHas(data, cvIcon)) {
        QIcon icon;
        LoadIconFromClipboard(icon);
        const QList<QSize> sizes = icon.availableSizes();
        if (!sizes.isEmpty())
            picture = icon.pixmap(sizes.last());
    } else if (format == cvBitmap && data->hasImage()) {
        picture = QPixmap::fromImage(qvariant_cast<QImage>(data->imageData()));
    } else if (format == cvPicture && ClipboardHas(data, cvPicture)) {
        picture.loadFromData(data->data(QString::fromLatin1(PictureClipboardFormat)));
    }
    // Metafiles have no reader here: they show as an empty image.
    image->setPixmap(picture);
    image->adjustSize();
    Place(image, false);
}

void TCustomClipboardViewer::ShowPalette(const QMimeData* data)
{
    auto* grid = new TPaletteGrid;
    grid->setFrameShape(QFrame::NoFrame);
    Place(grid, true);
    grid->SetPalette(PaletteFromBytes(data->data(QString::fromLatin1(PaletteClipboardFormat))));
}

} // namespace vx
