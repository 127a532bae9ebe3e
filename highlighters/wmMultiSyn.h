// The multi-language highlighter: a default highlighter colours the page, and
// the blocks that the schemes' markers open and close are handed to the
// schemes' own highlighters.
#pragma once

#include "editor/mwHighlighter.h"
#include "highlighters/wmMultiMarkers.h"
#include "highlighters/wmMultiSchemes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The range packs the active scheme with its highlighter's range:
// ((scheme + 1) << 16) | (inner range & 0xFFFF); 0 in the upper half is the
// default highlighter, whose own range is then the low half. A line's tokens
// and end range depend only on its text and its start range:
// - a block opened by a marker starts its highlighter from its reset range;
// - the default highlighter goes on after a block that closes on the line it
//   opened on with the range it had before the block, and starts from its
//   reset range after a block that closes on a later line;
// - a range naming no usable scheme is the default highlighter's reset range;
// - in a scheme whose end marker counts only outside strings, an end marker
//   met while its highlighter is inside a string or block comment is text of
//   that token, which is delivered whole.
// So one instance may serve several editors in any order.
//
// It resumes a line from inside when every highlighter it hands blocks to
// does and no marker expression has a repeat or an anchor: a point then holds
// the block that is open, the highlighter's own point, where its piece of the
// line began, and how far each expression's last marker reaches past it.
class TwmMultiSyn : public TmwCustomHighLighter, public TmwResumableScan {
public:
    // The kind of every marker token, whatever the highlighters around it use.
    static constexpr int tkMarker = 255;

    TwmMultiSyn();
    ~TwmMultiSyn() override;

    TgmSchemes& Schemes() { return *schemes_; }
    const TgmSchemes& Schemes() const { return *schemes_; }
    // Takes copies of value's schemes.
    void SetSchemes(const TgmSchemes& value) { schemes_->Assign(value); }
    // Not owned. Without one (or with this highlighter itself), lines yield no tokens.
    TmwCustomHighLighter* DefaultHighlighter() const { return default_; }
    void SetDefaultHighlighter(TmwCustomHighLighter* value);

    TmwHighLightAttributes* GetDefaultAttribute(int index) const override;
    std::string GetLanguageName() const override { return "General Multi-Highlighter"; }
    // Exports through the same tokens as the editor paints.
    unsigned GetCapability() const override { return hcRegistry | hcExportable; }
    void ExportNext() override;
    bool GetEol() const override;
    std::int32_t GetRange() const override;
    std::string GetToken() const override;
    TmwHighLightAttributes* GetTokenAttribute() const override;
    int GetTokenKind() const override;
    int GetTokenPos() const override;
    void Next() override;
    // Hands each piece's tokens to its highlighter's own loop.
    void NextToEol() override;
    void SetLine(const std::string& NewValue, int LineNumber) override;
    void SetLineForExport(const std::string& NewValue) override;
    void SetRange(std::int32_t Value) override;
    // Resets the default highlighter and every scheme's highlighter as well.
    void ResetRange() override;
    TmwResumableScan* Resumable() override;
    int ResumeMargin() const override { return innerMargin_ + finder_.Reach(); }
    int ScanPos() const override;
    TmwScanPoint ScanPoint() const override;
    void ResumeLine(const std::string& NewValue, int LineNumber, const TmwScanPoint& at) override;

    // Yellow background, bold.
    TmwHighLightAttributes* MarkerAttri;

private:
    void setCurrent(int scheme);
    void refreshSchemes();
    bool relevant(const TgmMarker& marker) const;
    const TgmMarker* nextRelevantMarker();
    void switchTo(int newScheme);
    // Starts the token at the scan offset: a marker, or the first token of
    // the piece up to the next relevant marker (the line end's empty piece last).
    void startPiece();
    // startPiece, then settleToken.
    void startItem();
    // Whether the current scheme's end marker does not count at the
    // active highlighter's range.
    bool inStringOrComment() const;
    // Whether the current inner token is the last of a piece cut at the
    // scheme's end marker and leaves a string or comment open there.
    bool endMarkerInToken() const;
    // Carries such a token on past the end marker into one token.
    void settleToken();
    void exportToken();
    // Goes on after the current token as Next does, with the token's piece
    // ending at the next relevant marker or the line end.
    void nextAfterToken();

    std::unique_ptr<TgmSchemes> schemes_;
    TgmMarkerFinder finder_;
    unsigned finderVersion_;
    TmwCustomHighLighter* default_ = nullptr;
    int current_ = -1;
    // The highlighter of the current scheme, else the default one.
    TmwCustomHighLighter* active_ = nullptr;
    // Per scheme: its highlighter's range after a reset.
    std::vector<std::int32_t> baseRanges_;
    // The current scheme's end marker counts only outside strings, at its
    // highlighter's base range.
    bool endOutsideStrings_ = false;
    std::int32_t baseRange_ = 0;
    // The default highlighter's range where the line's block began, when it began on this line.
    std::optional<std::int32_t> defaultRangeBeforeBlock_;

    std::string line_;
    int lineNumber_ = 0;
    std::vector<TgmMarker> markers_;
    // Per marker expression, where its search began in a line resumed from
    // inside (the end of its marker reaching past the point); empty otherwise.
    std::vector<int> resumedEnds_;
    size_t markerCursor_ = 0; // no relevant marker before it lies at or after the scan offset
    int marker_ = -1;         // the marker that is the current token, or -1
    std::string piece_;       // the text the active highlighter scans, unless it is the whole line
    bool innerEol_ = true;    // the active highlighter is at the end of its piece
    int pieceStart_ = 0;  // where the active highlighter's text begins in the line
    int pieceOrigin_ = 0; // where its piece begins, before the line when it was resumed
    int innerMargin_ = 0; // the largest margin of the highlighters blocks go to
    // The piece ends at the current scheme's end marker, which counts only outside strings.
    bool checkEndMarker_ = false;
    int tokenStart_ = -1; // where a token carried past end markers began, else -1
    int scanOffset_ = 0; // characters consumed, the current token included
};
