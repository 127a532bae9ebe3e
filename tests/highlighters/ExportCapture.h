// An exporter that records what a highlighter hands it, for the export tests.
#pragma once

#include "editor/mwHighlighter.h"

#include <ostream>
#include <string>
#include <vector>

namespace vx::test {

struct ExportedToken {
    std::string text;
    std::string attribute; // "" for none
    bool needsEscape;
    bool isSpace;
    bool operator==(const ExportedToken&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const ExportedToken& t)
{
    return out << "{\"" << t.text << "\", \"" << t.attribute << "\", " << t.needsEscape << ", " << t.isSpace << "}";
}

class TExportCapture : public TmwExportTarget {
public:
    std::vector<ExportedToken> tokens;

    void FormatToken(const std::string& token, TmwHighLightAttributes* attribute, bool needsEscape,
                     bool isSpace) override
    {
        tokens.push_back({token, attribute ? attribute->Name() : "", needsEscape, isSpace});
    }

    // Exports one line through SetLineForExport and ExportNext; the line-end
    // call is the last one recorded.
    void ExportLine(TmwCustomHighLighter& hl, const std::string& line)
    {
        hl.SetExporter(this);
        hl.SetLineForExport(line);
        for (size_t steps = 0; !hl.GetEol() && steps <= line.size(); ++steps)
            hl.ExportNext();
        hl.SetExporter(nullptr);
    }
};

} // namespace vx::test
