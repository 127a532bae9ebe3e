// A tiny highlighter for the editor's tests: "{" opens a comment that "}"
// closes, across lines. It counts the lines it is asked to scan.
#pragma once

#include "editor/mwHighlighter.h"

#include <string>
#include <vector>

class TBraceHighlighter : public TmwCustomHighLighter {
public:
    enum Kind { tkNull, tkText, tkComment };
    enum Range { rsText = 0, rsComment = 1 };

    TBraceHighlighter();

    TmwHighLightAttributes* GetDefaultAttribute(int index) const override;
    std::string GetLanguageName() const override { return "Braces"; }
    void ExportNext() override { Next(); }
    bool GetEol() const override { return kind_ == tkNull; }
    std::int32_t GetRange() const override { return range_; }
    std::string GetToken() const override { return line_.substr(tokenPos_, run_ - tokenPos_); }
    TmwHighLightAttributes* GetTokenAttribute() const override;
    int GetTokenKind() const override { return kind_; }
    int GetTokenPos() const override { return static_cast<int>(tokenPos_); }
    void Next() override;
    void SetLine(const std::string& value, int lineNumber) override;
    void SetLineForExport(const std::string& value) override { SetLine(value, 0); }
    void SetRange(std::int32_t value) override { range_ = value; }
    void ResetRange() override { range_ = rsText; }

    // Line numbers handed to SetLine, in order.
    std::vector<int> scanned;

    TmwHighLightAttributes* comment;
    TmwHighLightAttributes* text;

private:
    std::string line_;
    size_t run_ = 0;
    size_t tokenPos_ = 0;
    Kind kind_ = tkNull;
    std::int32_t range_ = rsText;
};
