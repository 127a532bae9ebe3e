#include "tools/RtfToHtml.h"

#include "tools/RtfReader.h"

namespace vx::tools {

std::string RtfToHtml(std::string_view rtf)
{
    TRtfReader reader(rtf);
    reader.Run();
    std::string html = reader.TakeOutput();
    // An empty paragraph before another one becomes its closing tag.
    const std::string_view empty = "\r\n<P>\r\n<P";
    std::string out;
    out.reserve(html.size());
    std::size_t pos = 0;
    for (std::size_t hit; (hit = html.find(empty, pos)) != std::string::npos; pos = hit + 6) {
        out.append(html, pos, hit - pos);
        out += "</P>";
    }
    out.append(html, pos, std::string::npos);
    return out;
}

} // namespace vx::tools
