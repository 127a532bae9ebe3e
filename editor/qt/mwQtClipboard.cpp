// The editor's clipboard on the system clipboard.
#include "editor/qt/mwQtClipboard.h"

#include "platform/qt/QtText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const QMimeData* Contents()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->mimeData() : nullptr;
}

} // namespace

bool TmwQtClipboard::HasText() const
{
    const QMimeData* data = Contents();
    return data && data->hasText();
}

bool TmwQtClipboard::HasBlock() const
{
    const QMimeData* data = Contents();
    return data && data->hasFormat(MwEditBlockFormat);
}

std::string TmwQtClipboard::Text() const
{
    const QMimeData* data = Contents();
    return data ? vx::FromQString(data->text()) : std::string();
}

bool TmwQtClipboard::Block(std::string& block) const
{
    const QMimeData* data = Contents();
    if (!data || !data->hasFormat(MwEditBlockFormat))
        return false;
    QByteArray bytes = data->data(MwEditBlockFormat);
    block.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

bool TmwQtClipboard::SetTextAndBlock(const std::string& text, const std::string& block)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    auto data = new QMimeData; // the clipboard takes it over
    data->setText(vx::ToQString(text));
    data->setData(MwEditBlockFormat, QByteArray(block.data(), static_cast<qsizetype>(block.size())));
    clipboard->setMimeData(data);
    return true;
}
