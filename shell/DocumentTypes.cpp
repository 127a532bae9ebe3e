#include "shell/DocumentTypes.h"

#include "localisation/RunTimeText.h"
#include "shell/TextCase.h"

#include <array>
#include <string_view>

namespace vx::shell {

namespace {

const TRunTimeText HtmlDocument{"HTML document"};
const TRunTimeText ServerPage{"Active Server Page"};
const TRunTimeText ServerInclude{"ASP include file"};
const TRunTimeText ServerApplication{"ASP application file"};
const TRunTimeText StyleSheet{"CSS style sheet"};
const TRunTimeText JavaScriptFile{"JavaScript file"};
const TRunTimeText VBScriptFile{"VBScript file"};
const TRunTimeText PerlScript{"Perl script"};
const TRunTimeText PerlModule{"Perl module"};
const TRunTimeText PhpPage{"PHP page"};
const TRunTimeText XmlDocument{"XML document"};
const TRunTimeText TextDocument{"Text document"};
const TRunTimeText GifImage{"GIF image"};
const TRunTimeText JpegImage{"JPEG image"};
const TRunTimeText PngImage{"PNG image"};
const TRunTimeText BitmapImage{"Bitmap image"};
const TRunTimeText ExtensionFile{"%1 file"};
const TRunTimeText PlainFile{"File"};

struct TKnownType {
    std::string_view Extension; // lower case, without the dot
    const TRunTimeText& Name;
};

const std::array<TKnownType, 25> KnownTypes{{
    {"htm", HtmlDocument},     {"html", HtmlDocument},  {"shtml", HtmlDocument},    {"htx", HtmlDocument},
    {"htt", HtmlDocument},     {"asp", ServerPage},     {"inc", ServerInclude},     {"asa", ServerApplication},
    {"css", StyleSheet},       {"js", JavaScriptFile},  {"vbs", VBScriptFile},      {"pl", PerlScript},
    {"cgi", PerlScript},       {"pm", PerlModule},      {"php", PhpPage},           {"php2", PhpPage},
    {"php3", PhpPage},         {"php4", PhpPage},       {"xml", XmlDocument},       {"txt", TextDocument},
    {"gif", GifImage},         {"jpg", JpegImage},      {"jpeg", JpegImage},        {"png", PngImage},
    {"bmp", BitmapImage},
}};

} // namespace

std::string LowerExtension(const std::string& fileName)
{
    const std::size_t dot = fileName.rfind('.');
    const std::size_t slash = fileName.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return AsciiLowerCase(std::string_view(fileName).substr(dot));
}

std::string DocumentTypeName(const std::string& fileName)
{
    const std::string extension = LowerExtension(fileName);
    if (extension.size() < 2)
        return PlainFile();
    for (const TKnownType& type : KnownTypes)
        if (type.Extension == std::string_view(extension).substr(1))
            return type.Name();
    return ExtensionFile({AsciiUpperCase(std::string_view(extension).substr(1))});
}

} // namespace vx::shell
