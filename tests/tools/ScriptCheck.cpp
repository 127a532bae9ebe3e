// The outside judges of generated scripts.
#include "tests/tools/ScriptCheck.h"

#include "highlighters/lbVBSSyn.h"
#include "tests/support/TempDir.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace vx::test {

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

int RunWithInput(const std::string& command, const std::string& input, std::string& output)
{
    TempDir dir("vellumix-script");
    writeFile(dir.file("input"), input);
    FILE* pipe = popen((command + " < '" + dir.file("input") + "' 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    std::array<char, 4096> buffer;
    output.clear();
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> UnclosedVBStrings(const std::vector<std::string>& lines)
{
    TlbVbsSyn vbs;
    std::vector<std::string> unclosed;
    bool script = false;
    for (const std::string& line : lines) {
        if (line.rfind("<%", 0) == 0)
            script = true;
        if (script && line.find("%>") == std::string::npos && line.rfind("<%", 0) != 0) {
            vbs.SetRange(TlbVbsSyn::rsNormal);
            vbs.SetLine(line, 1);
            for (; !vbs.GetEol(); vbs.Next()) {
                const std::string token = vbs.GetToken();
                if (vbs.GetTokenKind() == TlbVbsSyn::tkString && token.front() == '"' &&
                    (token.size() < 2 || token.back() != '"'))
                    unclosed.push_back(line);
            }
        }
        if (line.find("%>") != std::string::npos)
            script = false;
    }
    return unclosed;
}

} // namespace vx::test
