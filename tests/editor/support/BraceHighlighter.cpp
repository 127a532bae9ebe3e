// The editor tests' brace-comment highlighter.
#include "tests/editor/support/BraceHighlighter.h"

TBraceHighlighter::TBraceHighlighter()
{
    comment = AddAttribute(mwAttrName::Comment);
    text = AddAttribute(mwAttrName::Text);
}

TmwHighLightAttributes* TBraceHighlighter::GetDefaultAttribute(int index) const
{
    return index == 1 ? comment : nullptr;
}

TmwHighLightAttributes* TBraceHighlighter::GetTokenAttribute() const
{
    switch (kind_) {
    case tkComment:
        return comment;
    case tkText:
        return text;
    default:
        return nullptr;
    }
}

void TBraceHighlighter::SetLine(const std::string& value, int lineNumber)
{
    scanned.push_back(lineNumber);
    line_ = value;
    run_ = 0;
    Next();
}

void TBraceHighlighter::Next()
{
    tokenPos_ = run_;
    if (run_ >= line_.size()) {
        kind_ = tkNull;
        return;
    }
    if (range_ == rsComment || line_[run_] == '{') {
        range_ = rsComment;
        kind_ = tkComment;
        size_t close = line_.find('}', run_);
        if (close == std::string::npos) {
            run_ = line_.size();
        } else {
            run_ = close + 1;
            range_ = rsText;
        }
        return;
    }
    kind_ = tkText;
    size_t open = line_.find('{', run_);
    run_ = open == std::string::npos ? line_.size() : open;
}
