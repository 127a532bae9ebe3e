// What the save safety net costs where the user looks: saves of 1, 3 and 10
// MB pages in a folder of 20,000 files, each as the main window saves a
// document (its recovery copy brought up to date, the file held and its
// stamp looked at, the search for the copies the save supersedes, the write,
// the recovery copy dropped), a page with a further hard link beside a plain
// one, over 5 interleaved rounds, as medians; a save of the 10 MB page right
// after typing, whose recovery copy is written first; and the instructions
// the search for what saves left takes on opening a file in that folder (the
// index read, what was left beside the file tidied, its whole copies
// looked for), which the processor's counter gives where the machine has one
// and callgrind otherwise (the program runs itself under it). The data
// folder's index files 200 whole copies kept elsewhere, as one in use does.
//
//   bench_file_paths            prints the figures
//   bench_file_paths --search   the search alone, for callgrind
#include "bench/InstructionCount.h"
#include "platform/CopyIndex.h"
#include "platform/FileIO.h"
#include "platform/LeftBehind.h"
#include "platform/WholeCopies.h"
#include "shell/DocumentFile.h"
#include "shell/Recovery.h"

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
constexpr int Sizes[] = {1, 3, 10};

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

// One document of the main window: its file, its text, and what its editor
// has been told of changes.
struct TDocument {
    std::string Path;
    std::string Text;
    std::uint64_t Changes = 1;
};

// Saves the document as the main window does; typed: changed since its
// recovery copy was last written, which the save then writes first.
double MillisecondsToSave(vx::shell::TRecoveryKeeper& recovery, TDocument& document, bool typed)
{
    const vx::shell::TRecoveryPlace place{false, 1};
    const auto record = [&] {
        return vx::shell::TRecoveryRecord{place, document.Path, {}, document.Text, vx::TTextEncoding::Utf8, false};
    };
    // The pause in the typing has written the copy already.
    recovery.Look(&document, place, true, document.Changes, true, record);
    if (typed)
        ++document.Changes;
    const auto start = std::chrono::steady_clock::now();
    recovery.Look(&document, place, true, document.Changes, true, record);
    {
        const vx::TFileHold held(document.Path, vx::TFileHold::TUse::Writing);
        vx::shell::StampOf(document.Path);
        const std::vector<std::string> superseded = vx::CopiesASaveSupersedes(document.Path);
        const std::string_view pieces[] = {document.Text};
        vx::WriteFileAtomic(held, pieces);
        vx::shell::StampOf(document.Path);
        for (const std::string& copy : superseded)
            vx::SetAsideWholeCopy(copy);
    }
    recovery.Drop(&document, place);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A folder of FolderSize pages, one of them the file searched for; none has a copy.
std::string CrowdedFolder(const fs::path& folder)
{
    for (int i = 0; i < FolderSize; ++i)
        Write(folder / ("page-" + std::to_string(i) + ".html"), "<p>page</p>\r\n");
    return (folder / "page-0.html").string();
}

// Copies kept of 200 files elsewhere, each filed in the index under its own.
void FileCopiesElsewhere(const fs::path& folder)
{
    constexpr const char* Text = "<p>kept</p>\r\n";
    for (int i = 0; i < 200; ++i) {
        const std::string file = (folder / ("kept-" + std::to_string(i) + ".html")).string();
        const std::string tag = std::to_string(100000 + i);
        Write(file, Text);
        Write(vx::WholeCopyName(file, tag), Text);
        vx::TFileIdentity identity;
        vx::IdentityOf(file, identity);
        vx::FileCopyUnder(identity, tag, vx::WholeCopyName(file, tag), vx::DigestOf(Text), std::nullopt);
    }
}

// What an open of the file looks for of what saves left.
void SearchAsAnOpenDoes(const std::string& file)
{
    std::vector<vx::TFiledCopy> index = vx::FiledCopies();
    const vx::TLeftBehind left = vx::TidyLeftBehind(file, index);
    if (!left.Temporaries.empty() || !left.KeptAside.empty() ||
        !vx::WholeCopiesOf(file, "<p>page</p>\r\n", std::move(index)).empty())
        std::fprintf(stderr, "file_paths: the crowded folder holds what a save left\n");
}

// The instructions of the search counted by callgrind in a run of this
// program of its own; 0 where valgrind cannot run.
unsigned long long SearchInstructionsUnderCallgrind(const char* self)
{
    const fs::path out = fs::temp_directory_path() / ("file-paths-callgrind-" + std::to_string(::getpid()));
    const std::string command = "valgrind --tool=callgrind --collect-atstart=no "
                                "'--toggle-collect=*SearchAsAnOpenDoes*' --callgrind-out-file=" +
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
    // Whole copies are filed, and recovery copies kept, in the data folder: one of the benchmark's own.
    const fs::path data = MakeFolder("file-paths-data");
    ::setenv("VELLUMIX_DATA", data.c_str(), 1);
    const fs::path folder = MakeFolder("file-paths");
    const std::string searched = CrowdedFolder(folder);
    const fs::path elsewhere = MakeFolder("file-paths-kept");
    FileCopiesElsewhere(elsewhere);

    if (argc == 2 && std::string_view(argv[1]) == "--search") {
        SearchAsAnOpenDoes(searched);
        fs::remove_all(folder);
        fs::remove_all(elsewhere);
        fs::remove_all(data);
        return 0;
    }

    vx::shell::TRecoveryKeeper recovery(vx::shell::RecoveryRoot(), 2);
    std::vector<TDocument> plain, linked;
    for (const int size : Sizes) {
        const std::string page(static_cast<std::size_t>(size) << 20, 'p');
        const std::string name = std::to_string(size) + "MB";
        plain.push_back({(folder / ("plain-" + name + ".html")).string(), page});
        linked.push_back({(folder / ("linked-" + name + ".html")).string(), page});
        Write(plain.back().Path, page);
        Write(linked.back().Path, page);
        fs::create_hard_link(linked.back().Path, folder / ("linked-" + name + "-too.html"));
    }
    std::vector<std::vector<double>> plainTimes(std::size(Sizes)), linkedTimes(std::size(Sizes));
    std::vector<double> typedTimes;
    for (int round = 0; round < Rounds; ++round) {
        // Each goes first in turn, so that neither always meets a warmer cache.
        for (std::size_t size = 0; size < std::size(Sizes); ++size) {
            if (round % 2 == 0)
                plainTimes[size].push_back(MillisecondsToSave(recovery, plain[size], false));
            linkedTimes[size].push_back(MillisecondsToSave(recovery, linked[size], false));
            if (round % 2 != 0)
                plainTimes[size].push_back(MillisecondsToSave(recovery, plain[size], false));
        }
        typedTimes.push_back(MillisecondsToSave(recovery, plain.back(), true));
    }

    const vx::bench::TInstructionCount counter;
    unsigned long long instructions = 0;
    if (counter.Available()) {
        counter.Start();
        SearchAsAnOpenDoes(searched);
        counter.Stop();
        instructions = counter.Count();
    } else {
        instructions = SearchInstructionsUnderCallgrind(argv[0]);
    }

    std::printf("folder-files %d\n", FolderSize);
    for (std::size_t size = 0; size < std::size(Sizes); ++size) {
        std::printf("plain-save-%dMB-ms %.1f\n", Sizes[size], Median(plainTimes[size]));
        std::printf("linked-save-%dMB-ms %.1f\n", Sizes[size], Median(linkedTimes[size]));
    }
    std::printf("typed-save-10MB-ms %.1f\n", Median(typedTimes));
    std::printf("open-search-%d-instructions %llu\n", FolderSize, instructions);
    fs::remove_all(folder);
    fs::remove_all(elsewhere);
    fs::remove_all(data);
    return 0;
}
