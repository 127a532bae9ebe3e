// Fuzz target: the snippet list and the names in it. Every pair comes from two
// lines of the list, a listed file that passes as a plain name stays in its
// folder, and a name the store accepts maps to a plain file name.
#include "fuzz/FuzzCheck.h"
#include "shell/FolderFiles.h"
#include "shell/Snippets.h"
#include "shell/UserTags.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const vx::shell::TSnippet& snippet : vx::shell::ParseSnippetList(text)) {
        VX_FUZZ_CHECK(snippet.Name.find_first_of("\r\n") == std::string::npos);
        VX_FUZZ_CHECK(snippet.File.find_first_of("\r\n") == std::string::npos);
        if (vx::shell::IsPlainFileName(snippet.File))
            VX_FUZZ_CHECK(snippet.File.find('/') == std::string::npos && snippet.File != "..");
        if (vx::shell::SnippetNameProblem(snippet.Name).empty())
            VX_FUZZ_CHECK(vx::shell::IsPlainFileName(vx::shell::SnippetFileName(snippet.Name)));
        const auto [start, end] = vx::shell::SplitUserTag(snippet.Name);
        VX_FUZZ_CHECK(start.size() + end.size() <= snippet.Name.size());
    }
    return 0;
}
