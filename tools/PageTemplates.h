// The texts of the page and head generators: new page, meta tags, redirect,
// page transition, FrontPage substitution, include directive, background
// sound and marquee. Every function is pure: fields in, lines out.
#pragma once

#include "tools/DateTimeText.h"

#include <array>
#include <string>
#include <vector>

namespace vx::tools {

using TLines = std::vector<std::string>;

struct TNewPageFields {
    bool Html = false; // file type "Html"; else "Active Server Page"
    std::string Title;
    bool VBScriptTag = false;
    bool ScriptTimeout = false;
    bool SessionState = false;
};
// The head names the moment now in the form code keeps, whatever the language.
TLines NewPageLines(const TNewPageFields& fields, const TClockReading& now);

struct TMetaFields {
    std::array<std::string, 12> Keywords;
    std::string Description;
    std::string Copyright;
    std::string Author;
    std::string Weeks = "2";
    std::string Email;
};
TLines MetaLines(const TMetaFields& fields);

std::string RedirectLine(const std::string& url, const std::string& delay);

// The 24 transition styles in the order their index is written.
extern const std::array<const char*, 24> TransitionStyles;
std::string TransitionLine(bool onExit, int seconds, int style);

extern const std::array<const char*, 4> SubstitutionItems;
// Empty for an index out of range (nothing selected).
std::string SubstitutionLine(int item);

enum class TIncludeKind { File, Virtual };
struct TIncludePath {
    std::string Path;
    // Why the path is only the file name; empty when it is the full relative path.
    std::string Note;
};
// The file's path as the directive needs it: relative to the document's
// folder for File, from the site root ("/...") for Virtual. An unnamed
// document, or a file outside the site root, gives the file name alone.
TIncludePath IncludePath(TIncludeKind kind, const std::string& file, const std::string& document,
                         const std::string& siteRoot);
std::string IncludeLine(TIncludeKind kind, const std::string& path);

std::string SoundLine(const std::string& soundFile);

// direction: 0 left, 1 right, -1 none; behaviour: 0 slide, 1 alternate, 2 scroll, -1 none.
std::string MarqueeLine(const std::string& text, int direction, int behaviour);

} // namespace vx::tools
