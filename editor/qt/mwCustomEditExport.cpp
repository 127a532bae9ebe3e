// The editor control's export to a file and to the clipboard.
#include "editor/qt/mwCustomEdit.h"

#include "editor/mwExport.h"
#include "editor/qt/SysColors.h"
#include "platform/qt/QtText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cmath>

namespace {

class TQtExportClipboard : public TmwExportClipboard {
public:
    bool SetData(const std::string& format, const std::string& data) override
    {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!clipboard)
            return false;
        auto mime = new QMimeData; // the clipboard takes it over
        mime->setData(QString::fromLatin1(format), QByteArray(data.data(), static_cast<qsizetype>(data.size())));
        clipboard->setMimeData(mime);
        return true;
    }
};

// The editor's font and screen colours, as the exporter writes them.
void SetLook(TmwCustomExport& exporter, const QFont& font)
{
    TmwExportLook& look = exporter.Look();
    look.FontName = vx::FromQString(font.family());
    double points = font.pointSizeF();
    if (points <= 0)
        points = font.pixelSize() * 72.0 / 96.0;
    look.FontSize = std::max(1, static_cast<int>(std::lround(points)));
    look.ResolveColor = vx::ColorToRGB;
}

} // namespace

bool TmwCustomEdit::ExportToFile(bool selectionOnly, const std::string& fileName, TmwCustomExport* exporter)
{
    if (!exporter)
        return false;
    SetLook(*exporter, font_);
    TmwCustomEditModel& m = *model_;
    const bool exported = selectionOnly && m.SelAvail()
                              ? exporter->ExportRange(m.BlockBegin(), m.BlockEnd(), m.HighLighter(), &m)
                              : exporter->ExportLines(1, m.LineCount(), m.HighLighter(), &m);
    if (exported)
        exporter->SaveToFile(fileName);
    return exported;
}

void TmwCustomEdit::ExportToClipboard(TmwCustomExport* exporter)
{
    if (!exporter)
        return;
    SetLook(*exporter, font_);
    TQtExportClipboard clipboard;
    exporter->CopyToClipboard(clipboard, model_.get(), model_->HighLighter());
}
