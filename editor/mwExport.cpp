// The export framework: driving a highlighter over editor lines into an exporter.
#include "editor/mwExport.h"

#include "editor/mwCustomEditModel.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"

#include <algorithm>
#include <array>

namespace {

const TWording InvalidParameter{"Invalid Parameter"};

// The standard Windows scheme, by system colour index, as 0x00BBGGRR.
constexpr std::array<TColor, 25> StandardSystemColors{
    0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
    0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000, 0xE1FFFF,
};

bool IsBlankToken(const std::string& token)
{
    return !token.empty() && std::all_of(token.begin(), token.end(), [](char c) {
        return c != '\0' && static_cast<unsigned char>(c) <= ' ';
    });
}

// Detaches the exporter from the highlighter however the export ends, so the
// highlighter never feeds an exporter that is gone.
class ExporterBinding {
public:
    explicit ExporterBinding(TmwCustomHighLighter& highlighter) : highlighter_(highlighter) {}
    ~ExporterBinding() { highlighter_.SetExporter(nullptr); }
    ExporterBinding(const ExporterBinding&) = delete;
    ExporterBinding& operator=(const ExporterBinding&) = delete;

private:
    TmwCustomHighLighter& highlighter_;
};

std::vector<const TmwExportClass*>& ClassList()
{
    static std::vector<const TmwExportClass*> list;
    return list;
}

} // namespace

TmwCustomExport::~TmwCustomExport() = default;

void TmwCustomExport::Setup(TmwCustomEditModel* editor, TmwCustomHighLighter* highlighter, int lineCount)
{
    if (!editor || !highlighter)
        throw Exception(TMessage(InvalidParameter, {}));
    highlighter->SetExporter(this);
    editor_ = editor;
    Clear();
    buffer_.reserve(static_cast<size_t>(std::max(lineCount, 0)) * 100);
}

std::string TmwCustomExport::GetClipboardFormat() { return "text/plain"; }

void TmwCustomExport::SetFilter(const std::string& value)
{
    if (filter_ != value)
        filter_ = value;
}

void TmwCustomExport::CopyToClipboardFormat(TmwExportClipboard& clipboard, TmwCustomEditModel* editor,
                                            TmwCustomHighLighter* highlighter, const std::string& format)
{
    if (!ExportSelection(highlighter, editor))
        return;
    const bool stored = clipboard.SetData(format, buffer_);
    Clear();
    if (!stored)
        throw EOutOfResources("Out of memory");
}

void TmwCustomExport::CopyToClipboard(TmwExportClipboard& clipboard, TmwCustomEditModel* editor,
                                      TmwCustomHighLighter* highlighter)
{
    CopyToClipboardFormat(clipboard, editor, highlighter, GetClipboardFormat());
}

void TmwCustomExport::Clear()
{
    buffer_.clear();
    ForgetLastAttribute();
}

bool TmwCustomExport::AttributeChanged(const TmwHighLightAttributes& attribute)
{
    const bool changed = attribute.Background() != lastBackground_ || attribute.Foreground() != lastForeground_ ||
                         attribute.Style().Bits() != lastStyle_;
    lastBackground_ = attribute.Background();
    lastForeground_ = attribute.Foreground();
    lastStyle_ = attribute.Style().Bits();
    return changed;
}

void TmwCustomExport::ForgetLastAttribute()
{
    lastBackground_ = 0;
    lastForeground_ = 0;
    lastStyle_ = 0;
}

TColor TmwCustomExport::ResolveColor(TColor color) const
{
    if (look_.ResolveColor)
        return look_.ResolveColor(color) & 0x00FFFFFFu;
    if (!IsSystemColor(color))
        return color & 0x00FFFFFFu;
    const unsigned index = color & 0xFFu;
    return index < StandardSystemColors.size() ? StandardSystemColors[index] : clBlack;
}

bool TmwCustomExport::ExportRange(TPoint start, TPoint end, TmwCustomHighLighter* highlighter,
                                  TmwCustomEditModel* editor)
{
    return ExportBody(start, end, highlighter, editor, false);
}

bool TmwCustomExport::ExportLines(int first, int last, TmwCustomHighLighter* highlighter,
                                  TmwCustomEditModel* editor)
{
    return ExportBody(Point(1, first), Point(2147483647, last), highlighter, editor, false);
}

bool TmwCustomExport::ExportSelection(TmwCustomHighLighter* highlighter, TmwCustomEditModel* editor)
{
    if (editor && !editor->SelAvail())
        return false;
    TPoint start = editor ? editor->BlockBegin() : TPoint{};
    TPoint end = editor ? editor->BlockEnd() : TPoint{};
    return ExportBody(start, end, highlighter, editor, true);
}

bool TmwCustomExport::ExportBody(TPoint start, TPoint end, TmwCustomHighLighter* highlighter,
                                 TmwCustomEditModel* editor, bool dropLastLineEnd)
{
    if (start == end)
        return false;
    if (!editor || !highlighter)
        throw Exception(TMessage(InvalidParameter, {}));
    const TmwEditList& lines = editor->Lines();
    const int first = std::max(start.Y, 1);
    const int last = std::min(end.Y, lines.Count());
    // Line y's part of the range: the end column is exclusive.
    auto clipped = [&](int y) {
        std::string text = lines.Get(y - 1);
        long long endX = end.X;
        if (y == start.Y) {
            const long long cut = std::max(start.X, 1) - 1;
            text.erase(0, static_cast<size_t>(std::min<long long>(cut, static_cast<long long>(text.size()))));
            endX -= cut;
        }
        if (y == end.Y && endX - 1 < static_cast<long long>(text.size()))
            text.resize(static_cast<size_t>(std::max(endX - 1, 0LL)));
        return text;
    };
    if (first > last || (first == last && clipped(first).empty()))
        return false;

    Setup(editor, highlighter, last - first + 1);
    ExporterBinding binding(*highlighter);
    if (highlighter == editor->HighLighter()) {
        highlighter->SetRange(lines.Range(first - 1));
    } else {
        // The stored states belong to the editor's own highlighter: scan up to the range.
        highlighter->ResetRange();
        for (int i = 0; i < first - 1; ++i) {
            highlighter->SetLine(lines.Get(i), i);
            highlighter->NextToEol();
        }
    }
    size_t lineEnd = 0;
    for (int y = first; y <= last; ++y)
        lineEnd = ExportLine(*highlighter, clipped(y), y - 1);
    if (dropLastLineEnd)
        buffer_.resize(lineEnd);
    const std::string header = GetHeader();
    const std::string footer = GetFooter();
    buffer_.insert(0, header);
    buffer_ += footer;
    return true;
}

size_t TmwCustomExport::ExportLine(TmwCustomHighLighter& highlighter, const std::string& text, int lineIndex)
{
    size_t lineEnd = buffer_.size();
    if (highlighter.GetCapability() & hcExportable) {
        highlighter.SetLineForExport(text);
        // Every token takes at least one character, the line end none.
        for (size_t steps = 0; !highlighter.GetEol() && steps <= text.size(); ++steps) {
            lineEnd = buffer_.size();
            highlighter.ExportNext();
        }
        if (highlighter.GetEol())
            return lineEnd;
    } else {
        // No export routines: the painting interface gives the same tokens.
        highlighter.SetLine(text, lineIndex);
        for (size_t steps = 0; !highlighter.GetEol() && steps <= text.size(); ++steps) {
            const std::string token = highlighter.GetToken();
            FormatToken(token, highlighter.GetTokenAttribute(), true, IsBlankToken(token));
            highlighter.Next();
        }
    }
    lineEnd = buffer_.size();
    FormatToken(std::string(), nullptr, false, false);
    return lineEnd;
}

void TmwCustomExport::SaveToFile(const std::string& fileName) const { vx::WriteFileAtomic(fileName, buffer_); }

const std::vector<const TmwExportClass*>& ExporterClasses() { return ClassList(); }

void RegisterExporter(const TmwExportClass& cls)
{
    auto& list = ClassList();
    if (std::find(list.begin(), list.end(), &cls) == list.end())
        list.push_back(&cls);
}
