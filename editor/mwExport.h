// The export framework: an exporter drives a highlighter over a range of
// editor lines, formats every token it gets back into its buffer, and wraps
// the body in its format's header and footer. The result goes to a file or
// to the clipboard.
#pragma once

#include "editor/mwEditTypes.h"
#include "editor/mwHighlighter.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TmwCustomEditModel;

// Where an exporter puts its result on the system clipboard.
class TmwExportClipboard {
public:
    virtual ~TmwExportClipboard() = default;
    // Replaces the clipboard's contents by data under the named format;
    // false when the clipboard refused it.
    virtual bool SetData(const std::string& format, const std::string& data) = 0;
};

// What an export reads of the editor window besides its model: the font, and
// how system colours look on this screen.
struct TmwExportLook {
    std::string FontName = "Courier New";
    int FontSize = 10; // points
    // Unset: system colours take the standard Windows scheme's values.
    std::function<TColor(TColor)> ResolveColor;
};

class TmwCustomExport : public TmwExportTarget {
public:
    static constexpr const char* DefaultTitle = "(Untitled)";

    TmwCustomExport() = default;
    ~TmwCustomExport() override;
    TmwCustomExport(const TmwCustomExport&) = delete;
    TmwCustomExport& operator=(const TmwCustomExport&) = delete;

    virtual std::string GetFormatName() const = 0;
    // The whole buffer as text.
    virtual std::string GetBufferText() const = 0;
    // Prepares an export of lineCount lines of editor through highlighter.
    // Raises Exception "Invalid Parameter", the buffer untouched, without
    // an editor or a highlighter.
    virtual void Setup(TmwCustomEditModel* editor, TmwCustomHighLighter* highlighter, int lineCount);
    // Built after the body, so they can use what the body collected.
    virtual std::string GetHeader() = 0;
    virtual std::string GetFooter() = 0;
    virtual std::string GetDisplayName() const = 0;
    // The clipboard format name the result is put under; plain text here.
    virtual std::string GetClipboardFormat();
    virtual std::string GetFilter() const { return filter_; }
    virtual void SetFilter(const std::string& value);
    // The program's shared exporter of this class; none here.
    virtual TmwCustomExport* GetInstance() const { return nullptr; }
    // Exports the editor's selection and puts it on the clipboard under
    // format; nothing without a selection. Raises EOutOfResources when the
    // clipboard refuses the data. The buffer is empty afterwards.
    virtual void CopyToClipboardFormat(TmwExportClipboard& clipboard, TmwCustomEditModel* editor,
                                       TmwCustomHighLighter* highlighter, const std::string& format);
    virtual void CopyToClipboard(TmwExportClipboard& clipboard, TmwCustomEditModel* editor,
                                 TmwCustomHighLighter* highlighter);
    // Empties the buffer and forgets the last attribute.
    virtual void Clear();
    // Inherited: FormatToken (token, attribute, needsEscape, isSpace) appends
    // one token; no attribute and no text is the end of a line.

    // Exports start..end (columns and lines 1-based, the end column
    // exclusive) and wraps it in header and footer. False, with nothing
    // exported, when the range holds no text: a silent abort.
    bool ExportRange(TPoint start, TPoint end, TmwCustomHighLighter* highlighter, TmwCustomEditModel* editor);
    // Whole lines first..last.
    bool ExportLines(int first, int last, TmwCustomHighLighter* highlighter, TmwCustomEditModel* editor);
    // The editor's selection, without the line end after its last line.
    bool ExportSelection(TmwCustomHighLighter* highlighter, TmwCustomEditModel* editor);
    // Writes the buffer to the file, replacing it atomically; raises
    // EFCreateError or EWriteError when that fails.
    void SaveToFile(const std::string& fileName) const;

    const std::string& Title() const { return title_; }
    // An empty title is the default one.
    void SetTitle(const std::string& value) { title_ = value.empty() ? DefaultTitle : value; }
    const std::string& Buffer() const { return buffer_; }
    TmwExportLook& Look() { return look_; }
    const TmwExportLook& Look() const { return look_; }

protected:
    // Whether attribute's colours or style differ from the last attribute
    // formatted; remembers attribute's as the last.
    bool AttributeChanged(const TmwHighLightAttributes& attribute);
    void ForgetLastAttribute();
    std::string& Out() { return buffer_; }
    TmwCustomEditModel* Editor() const { return editor_; }
    // The RGB value (0x00BBGGRR) of a colour as the screen shows it.
    TColor ResolveColor(TColor color) const;

private:
    bool ExportBody(TPoint start, TPoint end, TmwCustomHighLighter* highlighter, TmwCustomEditModel* editor,
                    bool dropLastLineEnd);
    // Exports one line; returns where its line end's text begins in the buffer.
    size_t ExportLine(TmwCustomHighLighter& highlighter, const std::string& text, int lineIndex);

    std::string title_ = DefaultTitle;
    std::string filter_;
    std::string buffer_;
    TColor lastBackground_ = 0;
    TColor lastForeground_ = 0;
    unsigned lastStyle_ = 0;
    TmwCustomEditModel* editor_ = nullptr;
    TmwExportLook look_;
};

// An exporter class as the program knows it.
struct TmwExportClass {
    const char* ClassName;
    std::unique_ptr<TmwCustomExport> (*Create)();
};

// The program's exporter classes, in registration order; each exporter's
// unit adds its class when the program starts.
const std::vector<const TmwExportClass*>& ExporterClasses();
void RegisterExporter(const TmwExportClass& cls);
