// An exporter whose result is a formatted Qt text document: one block per
// line, one run per token in its attribute's colour and style, ready to print
// or show without going through a file.
#pragma once

#include "editor/mwExport.h"
#include "editor/mwWholeCharacters.h"

#include <QTextCursor>

class QTextDocument;

class TmwTextDocumentExport : public TmwCustomExport {
public:
    // The document is emptied at the start of each export and must outlive the exporter.
    explicit TmwTextDocumentExport(QTextDocument& document);

    std::string GetFormatName() const override { return "Text document"; }
    // The exported text without its formatting, lines ending in CR LF.
    std::string GetBufferText() const override { return Buffer(); }
    std::string GetHeader() override { return {}; }
    std::string GetFooter() override { return {}; }
    std::string GetDisplayName() const override { return "Text document"; }
    void Clear() override;
    void FormatToken(const std::string& token, TmwHighLightAttributes* attribute, bool needsEscape,
                     bool isSpace) override;

private:
    QTextDocument& document_;
    QTextCursor cursor_;
    // A line ended: its block starts with the next line, so the last line
    // end of a range adds no empty block.
    bool lineEnded_ = false;
    // Formats text that comes without an attribute.
    TmwHighLightAttributes plain_{""};
    TmwWholeCharacters characters_;
};
