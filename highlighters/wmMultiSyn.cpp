// The multi-language highlighter: token delivery, range packing and export.
#include "highlighters/wmMultiSyn.h"

#include <algorithm>

namespace {
constexpr std::uint32_t kInnerMask = 0xFFFF;
}

TwmMultiSyn::TwmMultiSyn() : schemes_(std::make_unique<TgmSchemes>(this)), finderVersion_(schemes_->Version() - 1)
{
    MarkerAttri = AddAttribute(mwAttrName::Marker);
    MarkerAttri->SetBackground(clYellow);
    MarkerAttri->SetStyle(TFontStyles{fsBold});
}

TwmMultiSyn::~TwmMultiSyn() = default;

TmwHighLightAttributes* TwmMultiSyn::GetDefaultAttribute(int) const { return nullptr; }

void TwmMultiSyn::setCurrent(int scheme)
{
    current_ = scheme;
    if (scheme < 0) {
        active_ = default_;
        endOutsideStrings_ = false;
        return;
    }
    const TgmScheme& s = schemes_->Items(scheme);
    active_ = s.Highlighter();
    endOutsideStrings_ = s.EndOutsideStrings();
    if (endOutsideStrings_)
        baseRange_ = baseRanges_[static_cast<size_t>(scheme)];
}

void TwmMultiSyn::SetDefaultHighlighter(TmwCustomHighLighter* value)
{
    default_ = value == this ? nullptr : value; // it would hand every line to itself
    if (current_ < 0)
        active_ = default_;
}

void TwmMultiSyn::refreshSchemes()
{
    if (finderVersion_ == schemes_->Version())
        return;
    finder_.Build(*schemes_);
    finderVersion_ = schemes_->Version();
    baseRanges_.assign(static_cast<size_t>(schemes_->Count()), 0);
    for (int s = 0; s < schemes_->Count(); ++s)
        if (schemes_->Usable(s) && schemes_->Items(s).EndOutsideStrings()) {
            // Read without disturbing the range a line may be about to start from.
            TmwCustomHighLighter* hl = schemes_->Items(s).Highlighter();
            const std::int32_t saved = hl->GetRange();
            hl->ResetRange();
            baseRanges_[static_cast<size_t>(s)] = hl->GetRange();
            hl->SetRange(saved);
        }
    if (current_ < 0)
        return;
    if (schemes_->Usable(current_)) {
        setCurrent(current_); // its highlighter may have been replaced
        return;
    }
    setCurrent(-1);
    if (default_)
        default_->ResetRange();
}

// In a scheme, its closing marker and the opening markers of the others;
// outside, every opening marker.
bool TwmMultiSyn::relevant(const TgmMarker& marker) const
{
    if (marker.NewScheme < 0)
        return current_ >= 0 && marker.Scheme == current_;
    return marker.NewScheme != current_;
}

const TgmMarker* TwmMultiSyn::nextRelevantMarker()
{
    for (; markerCursor_ < markers_.size(); ++markerCursor_) {
        const TgmMarker& m = markers_[markerCursor_];
        if (m.Pos - 1 >= scanOffset_ && relevant(m))
            return &m;
    }
    return nullptr;
}

void TwmMultiSyn::switchTo(int newScheme)
{
    if (newScheme >= 0) {
        if (current_ < 0)
            defaultRangeBeforeBlock_ = default_->GetRange();
        setCurrent(newScheme);
        active_->ResetRange();
        return;
    }
    setCurrent(-1);
    if (defaultRangeBeforeBlock_)
        default_->SetRange(*defaultRangeBeforeBlock_);
    else
        default_->ResetRange();
    defaultRangeBeforeBlock_.reset();
}

void TwmMultiSyn::startPiece()
{
    const int lineLen = static_cast<int>(line_.size());
    for (;;) {
        marker_ = -1;
        const TgmMarker* m = nextRelevantMarker();
        const int end = m ? m->Pos - 1 : lineLen;
        if (m && end == scanOffset_ && m->NewScheme < 0 && inStringOrComment()) {
            ++markerCursor_; // a line starting in a string: the end marker is its text
            continue;
        }
        if (m && end == scanOffset_) {
            marker_ = static_cast<int>(m - markers_.data());
            scanOffset_ += m->Len;
            switchTo(m->NewScheme);
            return;
        }
        pieceStart_ = scanOffset_;
        pieceOrigin_ = pieceStart_;
        scanOffset_ = end;
        checkEndMarker_ = endOutsideStrings_ && m && m->NewScheme < 0;
        if (pieceStart_ == 0 && end == lineLen) {
            active_->SetLine(line_, lineNumber_);
        } else {
            piece_.assign(line_, static_cast<size_t>(pieceStart_), static_cast<size_t>(end - pieceStart_));
            active_->SetLine(piece_, lineNumber_);
        }
        innerEol_ = active_->GetEol();
        // A highlighter that gives nothing for a non-empty piece is skipped.
        if (!innerEol_ || end == lineLen)
            return;
    }
}

bool TwmMultiSyn::inStringOrComment() const
{
    return endOutsideStrings_ && active_->GetRange() != baseRange_;
}

bool TwmMultiSyn::endMarkerInToken() const
{
    if (!checkEndMarker_ || innerEol_ || marker_ >= 0)
        return false;
    // The range test first: it is cheap and almost always settles it.
    if (!inStringOrComment())
        return false;
    const auto tokenEnd = static_cast<size_t>(active_->GetTokenPos()) + active_->GetToken().size();
    return tokenEnd == static_cast<size_t>(scanOffset_ - pieceStart_);
}

void TwmMultiSyn::settleToken()
{
    while (endMarkerInToken()) {
        if (tokenStart_ < 0)
            tokenStart_ = pieceStart_ + active_->GetTokenPos();
        ++markerCursor_; // the end marker is the token's text now
        startPiece();    // the highlighter goes on in the string from its range
        if (marker_ >= 0 || innerEol_)
            tokenStart_ = -1; // nothing to carry on into
    }
}

void TwmMultiSyn::startItem()
{
    startPiece();
    if (checkEndMarker_) [[unlikely]]
        settleToken();
}

void TwmMultiSyn::SetLine(const std::string& NewValue, int LineNumber)
{
    refreshSchemes();
    line_ = NewValue;
    lineNumber_ = LineNumber;
    // Closing markers count only in a block; the points of a line resumed
    // from inside hold where each one reaches, so such a line has them all.
    finder_.Find(line_, current_ >= 0 || line_.size() > TmwResumableScan::kShortestResumed, markers_);
    resumedEnds_.clear();
    markerCursor_ = 0;
    marker_ = -1;
    scanOffset_ = 0;
    pieceStart_ = 0;
    tokenStart_ = -1;
    defaultRangeBeforeBlock_.reset();
    if (default_)
        startItem();
}

void TwmMultiSyn::Next()
{
    if (!default_)
        return;
    tokenStart_ = -1;
    if (marker_ < 0 && !innerEol_) {
        active_->Next();
        innerEol_ = active_->GetEol();
        // The common case, inside a piece, without a call more.
        if (!innerEol_) {
            if (checkEndMarker_) [[unlikely]]
                settleToken();
            return;
        }
    }
    nextAfterToken();
}

void TwmMultiSyn::NextToEol()
{
    if (!default_)
        return;
    while (!GetEol()) {
        // A piece no end marker may cut short ends where its highlighter's line does.
        if (marker_ < 0 && !innerEol_ && !checkEndMarker_) {
            tokenStart_ = -1;
            active_->NextToEol();
            innerEol_ = true;
            nextAfterToken();
        } else {
            Next();
        }
    }
}

void TwmMultiSyn::nextAfterToken()
{
    if (marker_ < 0) {
        if (!innerEol_) {
            if (checkEndMarker_) [[unlikely]]
                settleToken();
            return;
        }
        if (scanOffset_ >= static_cast<int>(line_.size()))
            return;
    }
    startItem();
}

bool TwmMultiSyn::GetEol() const
{
    if (!default_)
        return true;
    return marker_ < 0 && innerEol_;
}

std::string TwmMultiSyn::GetToken() const
{
    if (!default_)
        return line_;
    if (marker_ >= 0) {
        const TgmMarker& m = markers_[static_cast<size_t>(marker_)];
        return line_.substr(static_cast<size_t>(m.Pos - 1), static_cast<size_t>(m.Len));
    }
    if (tokenStart_ >= 0) {
        const auto end = static_cast<size_t>(pieceStart_ + active_->GetTokenPos()) + active_->GetToken().size();
        return line_.substr(static_cast<size_t>(tokenStart_), end - static_cast<size_t>(tokenStart_));
    }
    return active_->GetToken();
}

int TwmMultiSyn::GetTokenPos() const
{
    if (!default_)
        return 0;
    if (marker_ >= 0)
        return markers_[static_cast<size_t>(marker_)].Pos - 1;
    if (tokenStart_ >= 0)
        return tokenStart_;
    return pieceStart_ + active_->GetTokenPos();
}

TmwHighLightAttributes* TwmMultiSyn::GetTokenAttribute() const
{
    if (!default_)
        return nullptr;
    if (marker_ >= 0)
        return MarkerAttri;
    return active_->GetTokenAttribute();
}

int TwmMultiSyn::GetTokenKind() const
{
    if (!default_)
        return 0;
    if (marker_ >= 0)
        return tkMarker;
    return active_->GetTokenKind();
}

std::int32_t TwmMultiSyn::GetRange() const
{
    if (current_ >= 0) {
        const std::uint32_t inner = static_cast<std::uint32_t>(active_->GetRange()) & kInnerMask;
        return static_cast<std::int32_t>((static_cast<std::uint32_t>(current_ + 1) << 16) | inner);
    }
    // Masked so that SetRange reads it back as the default state.
    return default_ ? static_cast<std::int32_t>(static_cast<std::uint32_t>(default_->GetRange()) & kInnerMask) : 0;
}

void TwmMultiSyn::SetRange(std::int32_t Value)
{
    refreshSchemes();
    const auto v = static_cast<std::uint32_t>(Value);
    const int scheme = static_cast<int>(v >> 16) - 1;
    const auto inner = static_cast<std::int32_t>(v & kInnerMask);
    defaultRangeBeforeBlock_.reset();
    if (schemes_->Usable(scheme)) {
        setCurrent(scheme);
        if (default_)
            active_->SetRange(inner);
        return;
    }
    setCurrent(-1);
    if (!default_)
        return;
    if (scheme < 0)
        default_->SetRange(inner);
    else
        default_->ResetRange();
}

void TwmMultiSyn::ResetRange()
{
    setCurrent(-1);
    defaultRangeBeforeBlock_.reset();
    if (default_)
        default_->ResetRange();
    for (int s = 0; s < schemes_->Count(); ++s)
        if (auto* hl = schemes_->Items(s).Highlighter())
            hl->ResetRange();
}

namespace {

// A highlighter this one hands text to resumes with a point of the plain
// kind: another multi-language highlighter's would not fit in a point's more.
TmwResumableScan* PlainResumable(TmwCustomHighLighter* hl)
{
    return dynamic_cast<TwmMultiSyn*>(hl) ? nullptr : hl->Resumable();
}

} // namespace

TmwResumableScan* TwmMultiSyn::Resumable()
{
    refreshSchemes();
    TmwResumableScan* scan = default_ ? PlainResumable(default_) : nullptr;
    if (!scan || finder_.Reach() < 0)
        return nullptr;
    int margin = scan->ResumeMargin();
    for (int s = 0; s < schemes_->Count(); ++s) {
        if (!schemes_->Usable(s))
            continue;
        scan = PlainResumable(schemes_->Items(s).Highlighter());
        if (!scan)
            return nullptr;
        margin = std::max(margin, scan->ResumeMargin());
    }
    innerMargin_ = margin;
    return this;
}

int TwmMultiSyn::ScanPos() const
{
    if (marker_ >= 0)
        return scanOffset_;
    return pieceStart_ + active_->Resumable()->ScanPos();
}

namespace {
// The layout of a point's more: the active highlighter's range, how far back
// its piece began (0: a piece begins at the point; at most the margin, past
// which the highlighter reads nothing and a change before the piece leaves
// the point as it was), whether the default
// highlighter's range before the open block is kept and that range, then per
// marker expression how far its last marker reaches past the point.
enum : std::size_t { kInnerRange, kPieceBack, kHasRangeBefore, kRangeBefore, kReaches };
} // namespace

TmwScanPoint TwmMultiSyn::ScanPoint() const
{
    TmwScanPoint point{ScanPos(), GetRange(), 0, {}};
    const bool afterMarker = marker_ >= 0;
    if (!afterMarker)
        point.extra = active_->Resumable()->ScanPoint().extra;
    point.more = {active_->GetRange(), afterMarker ? 0 : std::min(point.pos - pieceOrigin_, ResumeMargin()),
                  defaultRangeBeforeBlock_ ? 1 : 0,
                  defaultRangeBeforeBlock_.value_or(0)};
    finder_.Reaches(markers_, point.pos, point.more);
    // A marker reaching past the point the line was resumed from is not among
    // those found; where it ends is.
    for (std::size_t e = 0; e < resumedEnds_.size(); ++e) {
        int& reach = point.more[kReaches + e];
        reach = std::max(reach, resumedEnds_[e] - point.pos);
    }
    return point;
}

void TwmMultiSyn::ResumeLine(const std::string& NewValue, int LineNumber, const TmwScanPoint& at)
{
    SetRange(at.range);
    if (!default_ || at.more.size() != kReaches + static_cast<std::size_t>(finder_.Count()))
        return SetLine(NewValue, LineNumber); // not a point of this highlighter's
    active_->SetRange(at.more[kInnerRange]);
    if (at.more[kHasRangeBefore])
        defaultRangeBeforeBlock_ = at.more[kRangeBefore];
    line_ = NewValue;
    lineNumber_ = LineNumber;
    const int lineLen = static_cast<int>(line_.size());
    const int pos = std::clamp(at.pos, 0, lineLen);
    resumedEnds_.assign(at.more.begin() + kReaches, at.more.end());
    for (int& end : resumedEnds_)
        end += pos;
    finder_.FindFrom(line_, resumedEnds_, markers_);
    markerCursor_ = 0;
    marker_ = -1;
    tokenStart_ = -1;
    scanOffset_ = pos;
    pieceOrigin_ = pos - at.more[kPieceBack];
    if (pieceOrigin_ == pos) {
        startItem();
        return;
    }
    // Inside a piece: its highlighter goes on from its own point up to the
    // piece's end, then on as after any token of it.
    const TgmMarker* m = nextRelevantMarker();
    const int end = m ? m->Pos - 1 : lineLen;
    pieceStart_ = std::max(pieceOrigin_, 0);
    scanOffset_ = end;
    checkEndMarker_ = endOutsideStrings_ && m && m->NewScheme < 0;
    piece_.assign(line_, static_cast<std::size_t>(pieceStart_), static_cast<std::size_t>(end - pieceStart_));
    active_->Resumable()->ResumeLine(piece_, lineNumber_,
                                     TmwScanPoint{pos - pieceStart_, at.more[kInnerRange], at.extra, {}});
    innerEol_ = active_->GetEol();
    nextAfterToken();
}

void TwmMultiSyn::exportToken()
{
    TmwExportTarget* target = Exporter();
    if (!target)
        return;
    if (GetEol()) {
        target->FormatToken("", nullptr, false, false);
        return;
    }
    const std::string token = GetToken();
    bool space = !token.empty();
    for (char c : token)
        space = space && c != '\0' && static_cast<unsigned char>(c) <= ' ';
    target->FormatToken(token, GetTokenAttribute(), !space, space);
}

void TwmMultiSyn::SetLineForExport(const std::string& NewValue)
{
    SetLine(NewValue, 0);
    exportToken();
}

void TwmMultiSyn::ExportNext()
{
    Next();
    exportToken();
}
