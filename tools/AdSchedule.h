// The schedule file of the ASP ad rotator: a five-line header (redirect
// page, banner width, height and border, then "*") and four lines per
// advertisement (image, home page, alternate text, impressions), CR LF ended.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vx::tools {

struct TAdvertisement {
    std::string Image;
    std::string HomePage;
    std::string AltText;
    std::string Impressions;
    bool operator==(const TAdvertisement&) const = default;
};

struct TAdSchedule {
    std::string Redirect;
    std::string Width;
    std::string Height;
    std::string Border;
    std::vector<TAdvertisement> Ads;
    bool operator==(const TAdSchedule&) const = default;
};

// The schedule a file's text holds; none when its fifth line is not "*".
// A last group of fewer than four lines gives an advertisement whose
// missing fields are empty.
std::optional<TAdSchedule> ParseAdSchedule(const std::string& text);
std::string AdScheduleText(const TAdSchedule& schedule);

// The file's name with its extension replaced by ".bak" (a ".bak" file
// gets ".bak" added, so that the backup never is the schedule itself).
std::string BackupName(const std::string& path);

// Writes the schedule atomically. An existing file is first copied to its
// backup; when the backup cannot be written, the error is raised and the
// schedule file stays as it was.
void SaveAdSchedule(const std::string& path, const TAdSchedule& schedule);

// The three ASP lines (between empty lines) that show an advertisement of the file.
std::vector<std::string> AdRotatorLines(const std::string& path);

// The sample of a new schedule and the entry "Add new record" appends.
TAdSchedule NewAdSchedule();
TAdvertisement NewAdvertisement();

} // namespace vx::tools
