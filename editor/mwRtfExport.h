// The RTF exporter: one font (the editor's), a colour table of the colours the
// highlighter's attributes actually used, and one formatting run per change
// of colour or style.
#pragma once

#include "editor/mwExport.h"
#include "editor/mwWholeCharacters.h"

#include <string>
#include <string_view>
#include <vector>

class TmwRtfExport : public TmwCustomExport {
public:
    TmwRtfExport();
    ~TmwRtfExport() override;

    std::string GetFormatName() const override;
    std::string GetBufferText() const override { return Buffer(); }
    void Setup(TmwCustomEditModel* editor, TmwCustomHighLighter* highlighter, int lineCount) override;
    std::string GetHeader() override;
    std::string GetFooter() override { return "}"; }
    std::string GetDisplayName() const override;
    std::string GetClipboardFormat() override { return "text/rtf"; }
    // Made on first request; lives until the program ends.
    TmwCustomExport* GetInstance() const override;
    void Clear() override;
    void FormatToken(const std::string& token, TmwHighLightAttributes* attribute, bool needsEscape,
                     bool isSpace) override;

    bool UseBackGround() const { return useBackGround_; }
    void SetUseBackGround(bool value) { useBackGround_ = value; }

private:
    // The colour's index in the colour table, added when new.
    int ColorIndex(TColor color);
    std::string ColorTable() const;
    void AppendRun(std::string_view token, const TmwHighLightAttributes& attribute);

    std::vector<TColor> colors_;
    TmwWholeCharacters characters_;
    // Formats text that comes without an attribute.
    TmwHighLightAttributes plain_{""};
    std::string fontSize_ = "\\fs10";
    bool useBackGround_ = false;
};

// Token text for an RTF body: a backslash before every "\", "{" and "}";
// every character outside ASCII as \uN and its fallback (\'hh, its
// Windows-1252 byte, or "?").
void AppendRtfEscaped(std::string& out, std::string_view text);
// Text for RTF header fields (title, font name): as in the body, and every
// control character below 0x20 as \'hh.
std::string RtfEscapeField(std::string_view text);
