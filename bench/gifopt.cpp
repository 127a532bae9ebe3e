// The GIF optimiser (all options) beside `gifsicle -O3` on two generated
// corpora of 30 files each: the project's own (GIFCorpus.h, written by our
// library) and ImageMagick's (GIFMagickCorpus.h, made by convert; left out
// without it). Both sides run one process per file, as gifsicle is used: ours
// is gifopt_file (gifopt/OptimizeFile.cpp), built beside this program with
// the C++ runtime linked in (see bench/CMakeLists.txt).
// A round times one pass over a corpus for each side, ours and gifsicle's in
// turn, the side going first alternating between rounds. The headline, per
// corpus, is the median over the rounds of each round's time ratio ours /
// gifsicle (below 1: ours is faster), by the wall clock and by the processor
// time of the processes, with both sides' output bytes beside it.
//
// Run (Release build):
//   cmake --build build/release --target bench_gifopt
//   build/release/bench/bench_gifopt                 # 7 rounds; --rounds=N for others
// Instructions executed per pass, the firmer figure on a busy machine (each
// file's process counted by callgrind, so it takes minutes):
//   build/release/bench/bench_gifopt --instructions
// gifsicle is the Debian package, run as a black box.
#include "bench/GIFCorpus.h"
#include "bench/GIFMagickCorpus.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct TCorpus {
    std::string name;
    std::vector<fs::path> files;
    std::int64_t bytes = 0;
};

fs::path Folder()
{
    static const fs::path folder = fs::temp_directory_path() / ("vellumix-gifopt-" + std::to_string(::getpid()));
    return folder;
}

TCorpus Written(const std::string& name, const std::vector<gifcorpus::File>& files)
{
    TCorpus corpus{name, {}, 0};
    const fs::path folder = Folder() / name;
    fs::create_directories(folder);
    for (const gifcorpus::File& file : files) {
        corpus.files.push_back(folder / file.name);
        std::ofstream(corpus.files.back(), std::ios::binary) << file.bytes;
        corpus.bytes += static_cast<std::int64_t>(file.bytes.size());
    }
    return corpus;
}

const std::vector<TCorpus>& Corpora()
{
    static const std::vector<TCorpus> corpora = [] {
        std::vector<TCorpus> all{Written("own", gifcorpus::Files())};
        const fs::path magick = Folder() / "magick";
        fs::create_directories(magick);
        if (gifcorpus::HaveConvert())
            all.push_back(Written("magick", gifcorpus::MagickFiles(magick.string())));
        else
            std::fprintf(stderr, "convert is not installed: ImageMagick's corpus is left out\n");
        return all;
    }();
    return corpora;
}

bool HaveGifsicle()
{
    return std::system("command -v gifsicle >/dev/null 2>&1") == 0;
}

// The command line that optimises in into out.
std::vector<std::string> Command(bool ours, const fs::path& in, const fs::path& out)
{
    if (ours)
        return {VX_GIFOPT_FILE, in.string(), out.string()};
    return {"gifsicle", "-O3", in.string(), "-o", out.string()};
}

// Runs the command with its output and warnings thrown away; answers the
// processor time (user and system) it took in seconds, or -1 when it failed.
double Run(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (error != 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

fs::path OutputOf(const fs::path& in, bool ours)
{
    return in.string() + (ours ? ".ours" : ".gifsicle");
}

// One pass over the corpus by one side, one process per file.
void Pass(benchmark::State& state, const TCorpus& corpus, bool ours)
{
    std::int64_t bytes = 0;
    double processor = 0;
    for (auto _ : state) {
        bytes = 0;
        processor = 0;
        for (const fs::path& file : corpus.files) {
            const double seconds = Run(Command(ours, file, OutputOf(file, ours)));
            if (seconds < 0) {
                state.SkipWithError(("failed on " + file.filename().string()).c_str());
                return;
            }
            processor += seconds;
            bytes += static_cast<std::int64_t>(fs::file_size(OutputOf(file, ours)));
        }
    }
    state.counters["cpu_ms"] = processor * 1000;
    state.counters["files"] = static_cast<double>(corpus.files.size());
    state.counters["input_bytes"] = static_cast<double>(corpus.bytes);
    state.counters["output_bytes"] = static_cast<double>(bytes);
}

void RegisterRounds(int rounds)
{
    const bool gifsicle = HaveGifsicle();
    if (!gifsicle)
        std::fprintf(stderr, "gifsicle is not installed: only our side runs\n");
    for (int round = 1; round <= rounds; ++round)
        for (const TCorpus& corpus : Corpora()) {
            std::vector<bool> sides{true};
            if (gifsicle)
                sides.insert(round % 2 == 1 ? sides.end() : sides.begin(), false);
            for (bool ours : sides) {
                const std::string name =
                    std::string(ours ? "Ours/" : "Gifsicle/") + corpus.name + "/round:" + std::to_string(round);
                benchmark::RegisterBenchmark(name.c_str(), [&corpus, ours](benchmark::State& state) {
                    Pass(state, corpus, ours);
                })->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
            }
        }
}

// The console's report, then per corpus and measure (wall-clock time of the
// pass, processor time of its processes) the rounds' medians and the median
// of each round's ratio, with the bytes.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            // Side/corpus/round:n
            const std::string name = run.benchmark_name();
            const size_t first = name.find('/'), second = name.find('/', first + 1);
            TSide& side = corpora_[name.substr(first + 1, second - first - 1)][name.substr(0, first)];
            const std::string round = name.substr(second + 1);
            side.wall[round] = run.GetAdjustedRealTime();
            side.processor[round] = run.counters.at("cpu_ms").value;
            side.bytes = run.counters.at("output_bytes").value;
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-8s %-5s %6s %10s %12s %10s %12s %14s %12s\n", "corpus", "time", "rounds", "ours ms",
                    "gifsicle ms", "ratio", "ours bytes", "gifsicle bytes", "bytes ratio");
        for (const auto& [corpus, sides] : corpora_) {
            const auto ours = sides.find("Ours"), theirs = sides.find("Gifsicle");
            if (ours == sides.end())
                continue;
            for (const auto& [measure, times] : {std::pair{"wall", &TSide::wall}, {"cpu", &TSide::processor}}) {
                const TRound& oursTimes = ours->second.*times;
                std::printf("%-8s %-5s %6zu %10.1f", corpus.c_str(), measure, oursTimes.size(), Median(oursTimes, {}));
                if (theirs == sides.end()) {
                    std::printf(" %12s %10s %12.0f\n", "-", "-", ours->second.bytes);
                    continue;
                }
                const TRound& theirTimes = theirs->second.*times;
                std::printf(" %12.1f %10.3f %12.0f %14.0f %12.4f\n", Median(theirTimes, {}),
                            Median(oursTimes, theirTimes), ours->second.bytes, theirs->second.bytes,
                            ours->second.bytes / theirs->second.bytes);
            }
        }
        std::printf("ratio: the median over the rounds of ours / gifsicle; below 1 ours is faster. wall: the "
                    "pass as a clock sees it; cpu: the processor time of its processes, which other work on "
                    "the machine disturbs less\n");
    }

private:
    using TRound = std::map<std::string, double>; // milliseconds per round
    struct TSide {
        TRound wall;
        TRound processor;
        double bytes = 0;
    };
    // The median of the rounds' figures, divided round by round by the peer's when given.
    static double Median(const TRound& rounds, const TRound& peer)
    {
        std::vector<double> values;
        for (const auto& [round, ms] : rounds)
            if (peer.empty())
                values.push_back(ms);
            else if (const auto other = peer.find(round); other != peer.end() && other->second > 0)
                values.push_back(ms / other->second);
        if (values.empty())
            return 0;
        std::sort(values.begin(), values.end());
        const size_t n = values.size();
        return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    }
    std::map<std::string, std::map<std::string, TSide>> corpora_;
};

// Instructions callgrind counts for the command's process.
std::int64_t Instructions(const std::vector<std::string>& command)
{
    std::string line = "valgrind --tool=callgrind --callgrind-out-file=/dev/null";
    for (const std::string& word : command)
        line += " '" + word + "'";
    line += " 2>&1 >/dev/null";
    FILE* pipe = ::popen(line.c_str(), "r");
    if (!pipe)
        return -1;
    std::int64_t count = -1;
    char text[512];
    while (std::fgets(text, sizeof text, pipe))
        if (const char* at = std::strstr(text, "Collected :"))
            count = std::strtoll(at + std::strlen("Collected :"), nullptr, 10);
    ::pclose(pipe);
    return count;
}

int CountInstructions()
{
    if (std::system("command -v valgrind >/dev/null 2>&1") != 0) {
        std::fprintf(stderr, "valgrind is not installed\n");
        return 1;
    }
    const bool gifsicle = HaveGifsicle();
    std::printf("%-8s %16s %16s %12s\n", "corpus", "ours", "gifsicle", "ratio");
    for (const TCorpus& corpus : Corpora()) {
        std::int64_t counts[2] = {0, 0};
        for (bool ours : {true, false}) {
            if (!ours && !gifsicle)
                continue;
            for (const fs::path& file : corpus.files)
                counts[ours ? 0 : 1] += Instructions(Command(ours, file, OutputOf(file, ours)));
        }
        std::printf("%-8s %16lld %16lld %12.3f\n", corpus.name.c_str(), static_cast<long long>(counts[0]),
                    static_cast<long long>(counts[1]), counts[1] > 0 ? double(counts[0]) / double(counts[1]) : 0.0);
    }
    return 0;
}

// Takes "--rounds=N" out of the arguments.
int RoundsArgument(int& argc, char** argv, int rounds)
{
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rounds=", 9) == 0)
            rounds = std::max(1, std::atoi(argv[i] + 9));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return rounds;
}

} // namespace

int main(int argc, char** argv)
{
    int status = 0;
    if (argc == 2 && std::strcmp(argv[1], "--instructions") == 0) {
        status = CountInstructions();
    } else {
        const int rounds = RoundsArgument(argc, argv, 7);
        benchmark::Initialize(&argc, argv);
        RegisterRounds(rounds);
        TRatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
    }
    fs::remove_all(Folder());
    return status;
}
