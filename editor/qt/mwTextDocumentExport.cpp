// The text-document exporter.
#include "editor/qt/mwTextDocumentExport.h"

#include "editor/qt/SysColors.h"
#include "platform/qt/QtText.h"

#include <QFont>
#include <QTextCharFormat>
#include <QTextDocument>

TmwTextDocumentExport::TmwTextDocumentExport(QTextDocument& document) : document_(document), cursor_(&document) {}

void TmwTextDocumentExport::Clear()
{
    TmwCustomExport::Clear();
    document_.clear();
    cursor_ = QTextCursor(&document_);
    lineEnded_ = false;
    characters_.Clear();
}

void TmwTextDocumentExport::FormatToken(const std::string& token, TmwHighLightAttributes* attribute, bool, bool)
{
    const bool lineEnd = !attribute && token.empty();
    if (lineEnded_)
        cursor_.insertBlock();
    lineEnded_ = lineEnd;
    if (lineEnd) {
        // A character cut short at the line's end stays what it is: broken bytes.
        cursor_.insertText(vx::ToQString(characters_.Flush()));
        Out() += "\r\n";
        return;
    }
    Out() += token;
    const std::string_view text = characters_.Take(token);
    if (text.empty())
        return;
    const TmwHighLightAttributes& look = attribute ? *attribute : plain_;
    QTextCharFormat format;
    // Unresolved system colours take the standard scheme's values: the
    // screen's theme says nothing about paper.
    format.setForeground(vx::ToQColor(ResolveColor(look.Foreground())));
    const TFontStyles style = look.Style();
    format.setFontWeight(style.Contains(fsBold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style.Contains(fsItalic));
    format.setFontUnderline(style.Contains(fsUnderline));
    format.setFontStrikeOut(style.Contains(fsStrikeOut));
    cursor_.insertText(vx::ToQString(text), format);
}
