// The link checker's walk over a generated site of 1,000 pages and 20,000
// links, with a known set of broken links, served on 127.0.0.1 by Python's
// threaded http.server with its listen backlog of 5 in two ways: a new
// connection per request (HTTP/1.0, as it comes) and keep-alive (HTTP/1.1).
// Each walk runs at the default settings and reports URLs checked per second;
// a run that misses a broken link or reports one too many fails. Where
// LinkChecker is installed (Debian package linkchecker), it checks the same
// site on the same servers with its rate limit raised, for comparison.
// A last run walks an endless site (every page links to five new ones) in the
// link checker's window until the window's limit of links, and reports the
// memory the process took on per link.
#include "internet/CurlHttpFetcher.h"
#include "internet/LinkCrawl.h"
#include "internet/qt/LinkCheckForm.h"

#include "bench/QtBenchmarkMain.h"
#include "bench/ResidentMemory.h"
#include "platform/qt/Dialogs.h"

#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kPages = 1000;
constexpr int kLinksPerPage = 20;
// Every this many pages one of them links to a page that does not exist.
constexpr int kBrokenEvery = 25;

std::string PageName(int i)
{
    return "p" + std::to_string(i) + ".html";
}

// Page i links to pages i+1, i+48, i+95, ... : twenty distinct pages, and
// every page is reached through the first link of the one before it. Every
// 25th page also links to a missing page of its own.
std::set<std::string> GenerateSite(const fs::path& folder)
{
    fs::create_directories(folder);
    std::set<std::string> broken;
    for (int i = 0; i < kPages; ++i) {
        std::ofstream page(folder / PageName(i));
        page << "<html><body><h1>Page " << i << "</h1>\n";
        for (int k = 0; k < kLinksPerPage; ++k)
            page << "<p><a href=\"" << PageName((i + 1 + k * 47) % kPages) << "\">link " << k << "</a></p>\n";
        if (i % kBrokenEvery == 0) {
            const std::string missing = "missing" + std::to_string(i) + ".html";
            page << "<p><a href=\"" << missing << "\">gone</a></p>\n";
            broken.insert(missing);
        }
        page << "</body></html>\n";
    }
    return broken;
}

struct TSite {
    fs::path folder = fs::temp_directory_path() / ("vellumix-bench-site-" + std::to_string(getpid()));
    std::set<std::string> broken = GenerateSite(folder);
    ~TSite() { fs::remove_all(folder); }
};

const TSite& Site()
{
    static const TSite site;
    return site;
}

// Runs a program and reads the first number it prints, or all it prints.
class TChild {
public:
    TChild(const TChild&) = delete;
    TChild& operator=(const TChild&) = delete;
    explicit TChild(const std::vector<std::string>& args)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<char*> argv;
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_ = fdopen(fds[0], "r");
    }
    ~TChild()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (out_)
            std::fclose(out_);
    }
    int ReadNumber()
    {
        int value = 0;
        return out_ && std::fscanf(out_, "%d", &value) == 1 ? value : 0;
    }
    std::string ReadAll()
    {
        std::string text;
        char buffer[4096];
        while (out_ && std::fgets(buffer, sizeof buffer, out_))
            text += buffer;
        if (pid_ > 0)
            waitpid(pid_, nullptr, 0);
        pid_ = 0;
        return text;
    }
    bool Started() const { return pid_ > 0; }

private:
    pid_t pid_ = 0;
    FILE* out_ = nullptr;
};

// The tests' server over the site, with Python's listen backlog of 5; it
// sends the header LinkChecker needs to take more than ten requests a second,
// and makes up the endless site under /endless/.
TChild StartServer(bool keepAlive)
{
    return TChild({"/usr/bin/python3", "-u", VX_HTTP_SERVER_SCRIPT, Site().folder.string(), "/dev/null",
                   keepAlive ? "1" : "0", "5", "0"});
}

void BM_Vellumix(benchmark::State& state)
{
    TChild server = StartServer(state.range(0) != 0);
    const int port = server.ReadNumber();
    if (port <= 0) {
        state.SkipWithError("cannot start python3 http.server");
        return;
    }
    const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/";
    std::size_t checked = 0;
    for (auto _ : state) {
        TCurlHttpFetcher fetcher;
        TLinkCrawl crawl(fetcher);
        crawl.Run(base + PageName(0));
        std::set<std::string> bad;
        std::size_t ok = 0;
        for (int i = 0; i < static_cast<int>(crawl.Nodes().size()); ++i) {
            const TLinkNode& node = crawl.Nodes()[static_cast<std::size_t>(i)];
            ok += node.State == lsOk;
            if (node.State == lsBad)
                bad.insert(std::string(crawl.Address(i).substr(base.size())));
        }
        if (bad != Site().broken || ok != kPages) {
            state.SkipWithError(("found " + std::to_string(bad.size()) + " broken links, " + std::to_string(ok)
                                 + " pages ok")
                                    .c_str());
            break;
        }
        checked += crawl.QueueSize();
    }
    state.counters["URLs/s"] = benchmark::Counter(static_cast<double>(checked), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Vellumix)->ArgName("keepalive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// LinkChecker as a black box: its summary line gives the URLs it checked.
void BM_LinkChecker(benchmark::State& state)
{
    if (std::system("command -v linkchecker >/dev/null 2>&1") != 0) {
        state.SkipWithError("linkchecker is not installed");
        return;
    }
    TChild server = StartServer(state.range(0) != 0);
    const int port = server.ReadNumber();
    const fs::path config = Site().folder.parent_path() / ("vellumix-linkcheckerrc-" + std::to_string(getpid()));
    std::ofstream(config) << "[checking]\nmaxrequestspersecond=1000000\n";
    fs::permissions(config, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string start = "http://127.0.0.1:" + std::to_string(port) + "/" + PageName(0);
    std::size_t checked = 0;
    for (auto _ : state) {
        TChild checker({"linkchecker", "--no-status", "--no-warnings", "-f", config.string(), start});
        const std::string report = checker.ReadAll();
        std::smatch summary;
        if (!std::regex_search(report, summary, std::regex("in ([0-9]+) URLs checked"))) {
            state.SkipWithError("no summary from linkchecker");
            break;
        }
        checked += std::stoul(summary[1]);
        const std::regex error("\nResult +Error");
        state.counters["errors"] = static_cast<double>(
            std::distance(std::sregex_iterator(report.begin(), report.end(), error), std::sregex_iterator()));
    }
    fs::remove(config);
    state.counters["URLs/s"] = benchmark::Counter(static_cast<double>(checked), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LinkChecker)->ArgName("keepalive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The window walks the endless site until its limit of links: what the process
// holds resident afterwards, less what it held before, per link in the tree.
void BM_EndlessSiteMemory(benchmark::State& state)
{
    TChild server = StartServer(true);
    const int port = server.ReadNumber();
    if (port <= 0) {
        state.SkipWithError("cannot start python3 http.server");
        return;
    }
    // The limit's message is answered as a user would.
    vx::dialogs::SetAnswerer([](const vx::dialogs::Request&) { return vx::dialogs::Answer{mrOk, {}, false, 0, {}}; });
    const double before = vx::bench::ResidentBytes();
    std::size_t links = 0;
    for (auto _ : state) {
        TfrmLinkChecking window;
        window.Crawl().MaxLinks = static_cast<std::size_t>(state.range(0));
        window.edtHTML->setText(QString::fromStdString("http://127.0.0.1:" + std::to_string(port) + "/endless/p.htm"));
        window.btnCheck1Click();
        links = window.Crawl().Nodes().size();
        state.counters["bytes/link"] = (vx::bench::ResidentBytes() - before) / static_cast<double>(links);
    }
    vx::dialogs::SetAnswerer({});
    state.counters["links"] = static_cast<double>(links);
}
BENCHMARK(BM_EndlessSiteMemory)->Arg(50000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return vx::bench::RunWithQtApplication(argc, argv);
}
