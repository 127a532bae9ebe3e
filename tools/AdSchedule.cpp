// Reading and writing ad rotator schedules.
#include "tools/AdSchedule.h"

#include "platform/FileIO.h"
#include "tools/TextLines.h"

#include <filesystem>

namespace vx::tools {

namespace {

// The line without its keyword and the one character after it, where the
// keyword occurs first; a line without it stays whole.
std::string WithoutKeyword(std::string line, const std::string& keyword)
{
    const std::size_t at = line.find(keyword);
    if (at != std::string::npos)
        line.erase(at, keyword.size() + 1);
    return line;
}

} // namespace

std::optional<TAdSchedule> ParseAdSchedule(const std::string& text)
{
    const std::vector<std::string_view> views = SplitLines(text);
    const std::vector<std::string> lines(views.begin(), views.end());
    if (lines.size() < 5 || lines[4] != "*")
        return std::nullopt;
    TAdSchedule schedule{WithoutKeyword(lines[0], "REDIRECT"), WithoutKeyword(lines[1], "WIDTH"),
                         WithoutKeyword(lines[2], "HEIGHT"), WithoutKeyword(lines[3], "BORDER"), {}};
    for (std::size_t i = 5; i < lines.size(); i += 4) {
        const auto field = [&](std::size_t k) { return i + k < lines.size() ? lines[i + k] : std::string(); };
        schedule.Ads.push_back({field(0), field(1), field(2), field(3)});
    }
    return schedule;
}

std::string AdScheduleText(const TAdSchedule& s)
{
    std::string text = "REDIRECT " + s.Redirect + "\r\nWIDTH " + s.Width + "\r\nHEIGHT " + s.Height + "\r\nBORDER " +
                       s.Border + "\r\n*\r\n";
    for (const TAdvertisement& ad : s.Ads)
        text += ad.Image + "\r\n" + ad.HomePage + "\r\n" + ad.AltText + "\r\n" + ad.Impressions + "\r\n";
    return text;
}

std::string BackupName(const std::string& path)
{
    std::filesystem::path backup(path);
    if (backup.extension() == ".bak")
        return path + ".bak";
    return backup.replace_extension(".bak").string();
}

void SaveAdSchedule(const std::string& path, const TAdSchedule& schedule)
{
    if (FileExists(path))
        WriteFileAtomic(BackupName(path), ReadWholeFile(path));
    WriteFileAtomic(path, AdScheduleText(schedule));
}

std::vector<std::string> AdRotatorLines(const std::string& path)
{
    // The schedule may name a Windows path; only its last part counts.
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return {"", "<% Dim My_Advertisements %>", "<% Set My_Advertisements = Server.CreateObject(\"MSWC.AdRotator\") %>",
            "<% = My_Advertisements.GetAdvertisement(\"" + name + "\") %>", ""};
}

TAdSchedule NewAdSchedule()
{
    return {"/scripts/adredir.asp",
            "440",
            "60",
            "1",
            {{"/images/vellumix_banner.gif", "http://www.vellumix.example/", "Vellumix edit webpages with ease", "999"}}};
}

TAdvertisement NewAdvertisement()
{
    return {"/images/banner.gif", "http://www.example.com/", "Alternate text goes here", "25"};
}

} // namespace vx::tools
