// Setters, gutter measuring and line-number formatting of the editor's option objects.
#include "editor/mwSupportClasses.h"

#include "editor/mwSupportProcs.h"

namespace {

template <class Owner> void Notify(Owner* owner)
{
    if (owner->OnChange)
        owner->OnChange(owner);
}

// The rule of every published setter: store and notify only on a change.
template <class Owner, class T> void Store(Owner* owner, T& field, T value)
{
    if (field != value) {
        field = value;
        Notify(owner);
    }
}

} // namespace

void TmwSelectedColor::SetBackground(TColor value) { Store(this, background_, value); }
void TmwSelectedColor::SetForeground(TColor value) { Store(this, foreground_, value); }

void TmwGutter::Assign(const TmwGutter& source)
{
    if (&source != this) {
        TChangeEvent keep = std::move(OnChange);
        *this = source;
        OnChange = std::move(keep);
    }
    Notify(this);
}

void TmwGutter::SetAutoSize(bool value) { Store(this, autoSize_, value); }
void TmwGutter::SetColor(TColor value) { Store(this, color_, value); }
void TmwGutter::SetLeadingZeros(bool value) { Store(this, leadingZeros_, value); }
void TmwGutter::SetLeftOffset(int value) { Store(this, leftOffset_, Max(0, value)); }
void TmwGutter::SetRightOffset(int value) { Store(this, rightOffset_, Max(0, value)); }
void TmwGutter::SetShowLineNumbers(bool value) { Store(this, showLineNumbers_, value); }
void TmwGutter::SetUseFontStyle(bool value) { Store(this, useFontStyle_, value); }
void TmwGutter::SetVisible(bool value) { Store(this, visible_, value); }
void TmwGutter::SetWidth(int value) { Store(this, width_, Max(0, value)); }
void TmwGutter::SetZeroStart(bool value) { Store(this, zeroStart_, value); }

void TmwGutter::SetDigitCount(int value)
{
    value = MinMax(value, 2, 12);
    if (digitCount_ != value) {
        digitCount_ = value;
        autoSizeDigitCount_ = value;
        Notify(this);
    }
}

void TmwGutter::AutoSizeDigitCount(int lineCount)
{
    if (visible_ && autoSize_ && showLineNumbers_) {
        int n = zeroStart_ ? lineCount - 1 : lineCount;
        int digits = static_cast<int>(std::to_string(n).size());
        int wanted = Max(digits, digitCount_);
        if (wanted != autoSizeDigitCount_) {
            autoSizeDigitCount_ = wanted;
            Notify(this);
        }
    } else {
        autoSizeDigitCount_ = digitCount_;
    }
}

std::string TmwGutter::FormatLineNumber(int line) const
{
    std::string number = std::to_string(zeroStart_ ? line - 1 : line);
    int pad = autoSizeDigitCount_ - static_cast<int>(number.size());
    if (pad <= 0)
        return number;
    // The field is at most width - 1 blanks, so LeadingZeros turns all of them.
    return std::string(static_cast<size_t>(pad), leadingZeros_ ? '0' : ' ') + number;
}

int TmwGutter::RealGutterWidth(int charWidth) const
{
    if (!visible_)
        return 0;
    if (showLineNumbers_)
        return leftOffset_ + rightOffset_ + autoSizeDigitCount_ * charWidth + 2;
    return width_;
}

void TmwBookMarkOpt::SetBookmarkImages(TImageList* value) { Store(this, bookmarkImages_, value); }
void TmwBookMarkOpt::SetGlyphsVisible(bool value) { Store(this, glyphsVisible_, value); }
void TmwBookMarkOpt::SetLeftMargin(int value) { Store(this, leftMargin_, value); }
void TmwBookMarkOpt::SetXoffset(int value) { Store(this, xoffset_, value); }
