// The small option objects an editor owns and publishes: selection colours,
// gutter and bookmark options. Each setter stores a value only when it
// differs and then fires OnChange, which the editor hooks to repaint.
#pragma once

#include "editor/Colors.h"

#include <functional>
#include <string>

class TmwCustomEdit;
class TImageList;

using TCursor = int;
constexpr TCursor crDefault = 0;

class TmwSelectedColor {
public:
    using TChangeEvent = std::function<void(TmwSelectedColor* Sender)>;

    TColor Background() const { return background_; }
    void SetBackground(TColor value);
    TColor Foreground() const { return foreground_; }
    void SetForeground(TColor value);

    TChangeEvent OnChange;

private:
    TColor background_ = clHighlight;
    TColor foreground_ = clHighlightText;
};

class TmwGutter {
public:
    using TChangeEvent = std::function<void(TmwGutter* Sender)>;

    // Copies every setting, the current auto-size digit count included, and fires OnChange.
    void Assign(const TmwGutter& source);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value) { cursor_ = value; }
    int DigitCount() const { return digitCount_; }
    // Clamped to 2..12; also resets the current auto-size digit count.
    void SetDigitCount(int value);
    bool LeadingZeros() const { return leadingZeros_; }
    void SetLeadingZeros(bool value);
    int LeftOffset() const { return leftOffset_; }
    void SetLeftOffset(int value);
    int RightOffset() const { return rightOffset_; }
    void SetRightOffset(int value);
    bool ShowLineNumbers() const { return showLineNumbers_; }
    void SetShowLineNumbers(bool value);
    bool UseFontStyle() const { return useFontStyle_; }
    void SetUseFontStyle(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    int Width() const { return width_; }
    void SetWidth(int value);
    bool ZeroStart() const { return zeroStart_; }
    void SetZeroStart(bool value);

    // The digit count line numbers are laid out with now.
    int AutoSizeDigits() const { return autoSizeDigitCount_; }
    // Widens the line-number field to fit lineCount lines when auto-sizing.
    void AutoSizeDigitCount(int lineCount);
    std::string FormatLineNumber(int line) const;
    int RealGutterWidth(int charWidth) const;

    TChangeEvent OnChange;

private:
    TColor color_ = clBtnFace;
    int width_ = 30;
    bool showLineNumbers_ = false;
    int digitCount_ = 4;
    bool leadingZeros_ = false;
    bool zeroStart_ = false;
    int leftOffset_ = 16;
    int rightOffset_ = 2;
    TCursor cursor_ = crDefault;
    bool visible_ = true;
    bool useFontStyle_ = false;
    bool autoSize_ = false;
    int autoSizeDigitCount_ = 4;
};

class TmwBookMarkOpt {
public:
    using TChangeEvent = std::function<void(TmwBookMarkOpt* Sender)>;

    explicit TmwBookMarkOpt(TmwCustomEdit* owner) : owner_(owner) {}

    TmwCustomEdit* Owner() const { return owner_; }
    // Not owned; the editor watches the list's destruction through OnChange.
    TImageList* BookmarkImages() const { return bookmarkImages_; }
    void SetBookmarkImages(TImageList* value);
    bool EnableKeys() const { return enableKeys_; }
    void SetEnableKeys(bool value) { enableKeys_ = value; }
    bool GlyphsVisible() const { return glyphsVisible_; }
    void SetGlyphsVisible(bool value);
    int LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int value);
    int Xoffset() const { return xoffset_; }
    void SetXoffset(int value);

    TChangeEvent OnChange;

private:
    TmwCustomEdit* owner_;
    TImageList* bookmarkImages_ = nullptr;
    bool enableKeys_ = true;
    bool glyphsVisible_ = true;
    int leftMargin_ = 2;
    int xoffset_ = 12;
};
