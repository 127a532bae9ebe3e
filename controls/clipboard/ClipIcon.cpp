// Reading and writing icons on the clipboard.
#include "controls/clipboard/ClipIcon.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QMimeData>
#include <QPixmap>

#include <algorithm>

namespace {

// An icon file larger than this is not an icon.
constexpr qsizetype MaxIconBytes = 16 * 1024 * 1024;

const QMimeData* ClipboardData()
{
    return QGuiApplication::clipboard()->mimeData();
}

} // namespace

bool ClipboardHasIcon()
{
    const QMimeData* data = ClipboardData();
    return data && data->hasFormat(IconClipboardFormat);
}

void LoadIconFromClipboard(QIcon& icon)
{
    if (!ClipboardHasIcon())
        return;
    QByteArray bytes = ClipboardData()->data(IconClipboardFormat);
    if (bytes.size() > MaxIconBytes)
        return;
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    QImageReader reader(&stream, "ico");
    QIcon loaded;
    const int count = std::max(reader.imageCount(), 1);
    for (int i = 0; i < count && reader.jumpToImage(i); ++i) {
        const QImage image = reader.read();
        if (!image.isNull())
            loaded.addPixmap(QPixmap::fromImage(image));
    }
    if (!loaded.isNull())
        icon = loaded;
}

std::unique_ptr<QIcon> CreateIconFromClipboard()
{
    if (!ClipboardHasIcon())
        return nullptr;
    auto icon = std::make_unique<QIcon>();
    LoadIconFromClipboard(*icon);
    return icon;
}

void CopyIconToClipboard(const QByteArray& iconFile)
{
    auto* data = new QMimeData;
    data->setData(IconClipboardFormat, iconFile);
    QGuiApplication::clipboard()->setMimeData(data);
}
