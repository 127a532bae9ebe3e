// What the save safety net costs where the user looks. A save of a 10 MB page
// that has a further hard link (hashed, filed, written twice) beside a plain
// save of the same page, over 5 interleaved rounds, as medians; and the
// instructions the search for a file's whole copies takes on opening a file
// in a folder of 20,000 files, which the processor's counter gives where the
// machine has one and callgrind otherwise (the program runs itself under it).
//
//   bench_file_paths            prints the three figures
//   bench_file_paths --search   the search alone, for callgrind
#include "bench/InstructionCount.h"
#include "platform/FileIO.h"
#include "platform/WholeCopies.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int Rounds = 5;
constexpr int FolderSize = 20'000;

fs::path MakeFolder(const char* name)
{
    fs::path folder = fs::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

void Write(const fs::path& path, std::string_view text)
{
    std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MillisecondsToSave(const std::string& path, std::string_view text)
{
    const auto start = std::chrono::steady_clock::now();
    vx::WriteFileAtomic(path, text);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A folder of FolderSize pages, one of them the file searched for; none has a copy.
std::string CrowdedFolder(const fs::path& folder)
{
    for (int i = 0; i < FolderSize; ++i)
        Write(folder / ("page-" + std::to_string(i) + ".html"), "<p>page</p>\r\n");
    return (folder / "page-0.html").string();
}

void Search(const std::string& file)
{
    if (!vx::WholeCopiesOf(file, "<p>page</p>\r\n").empty())
        std::fprintf(stderr, "file_paths: the crowded folder holds a copy\n");
}

// The instructions of the search counted by callgrind in a run of this
// program of its own; 0 where valgrind cannot run.
unsigned long long SearchInstructionsUnderCallgrind(const char* self)
{
    const fs::path out = fs::temp_directory_path() / ("file-paths-callgrind-" + std::to_string(::getpid()));
    const std::string command = "valgrind --tool=callgrind --collect-atstart=no "
                                "'--toggle-collect=vx::WholeCopiesOf(*' --callgrind-out-file=" +
                                out.string() + " " + self + " --search >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return 0;
    std::ifstream report(out);
    unsigned long long total = 0;
    for (std::string line; std::getline(report, line);) {
        if (line.starts_with("totals: ") || line.starts_with("summary: "))
            total = std::strtoull(line.c_str() + line.find(' ') + 1, nullptr, 10);
    }
    fs::remove(out);
    return total;
}

} // namespace

int main(int argc, char** argv)
{
    // Whole copies are filed in the data folder: one of the benchmark's own.
    const fs::path data = MakeFolder("file-paths-data");
    ::setenv("VELLUMIX_DATA", data.c_str(), 1);
    const fs::path folder = MakeFolder("file-paths");
    const std::string searched = CrowdedFolder(folder);

    if (argc == 2 && std::string_view(argv[1]) == "--search") {
        Search(searched);
        fs::remove_all(folder);
        fs::remove_all(data);
        return 0;
    }

    // The saves go to a folder of their own, of the few pages a site's folder holds.
    const fs::path site = MakeFolder("file-paths-site");
    const std::string page(10 << 20, 'p');
    const std::string plain = (site / "plain.html").string();
    const std::string linked = (site / "linked.html").string();
    Write(plain, page);
    Write(linked, page);
    fs::create_hard_link(linked, site / "linked-too.html");
    std::vector<double> plainTimes, linkedTimes;
    for (int round = 0; round < Rounds; ++round) {
        // Each goes first in turn, so that neither always meets a warmer cache.
        if (round % 2 == 0)
            plainTimes.push_back(MillisecondsToSave(plain, page));
        linkedTimes.push_back(MillisecondsToSave(linked, page));
        if (round % 2 != 0)
            plainTimes.push_back(MillisecondsToSave(plain, page));
    }

    const vx::bench::TInstructionCount counter;
    unsigned long long instructions = 0;
    if (counter.Available()) {
        counter.Start();
        Search(searched);
        counter.Stop();
        instructions = counter.Count();
    } else {
        instructions = SearchInstructionsUnderCallgrind(argv[0]);
    }

    std::printf("linked-save-10MB-ms %.1f\n", Median(linkedTimes));
    std::printf("plain-save-10MB-ms %.1f\n", Median(plainTimes));
    std::printf("copies-search-%d-instructions %llu\n", FolderSize, instructions);
    fs::remove_all(site);
    fs::remove_all(folder);
    fs::remove_all(data);
    return 0;
}
