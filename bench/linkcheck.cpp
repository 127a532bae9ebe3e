// The link checker's walk over a generated site of 1,000 pages and 20,000
// links served by Python's threaded http.server on 127.0.0.1. Reports URLs
// checked per second and fails the run when a link is missed or counted twice.
#include "internet/CurlHttpFetcher.h"
#include "internet/LinkCrawl.h"

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kPages = 1000;
constexpr int kLinksPerPage = 20;

constexpr const char* kServer = R"PY(
import functools, sys
from http.server import ThreadingHTTPServer, SimpleHTTPRequestHandler
class Quiet(SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass
class Server(ThreadingHTTPServer):
    daemon_threads = True
    request_queue_size = 256
server = Server(('127.0.0.1', 0), functools.partial(Quiet, directory=sys.argv[1]))
print(server.server_address[1], flush=True)
server.serve_forever()
)PY";

// Page i links to pages i+1, i+48, i+95, ... : twenty distinct pages, and
// every page is reached through the first link of the one before it.
void GenerateSite(const fs::path& folder)
{
    fs::create_directories(folder);
    for (int i = 0; i < kPages; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "p%d.html", i);
        std::ofstream page(folder / name);
        page << "<html><body><h1>Page " << i << "</h1>\n";
        for (int k = 0; k < kLinksPerPage; ++k) {
            int target = (i + 1 + k * 47) % kPages;
            page << "<p><a href=\"p" << target << ".html\">link " << k << "</a></p>\n";
        }
        page << "</body></html>\n";
    }
}

class TSiteServer {
public:
    explicit TSiteServer(const fs::path& folder)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::string dir = folder.string();
        const char* argv[] = {"/usr/bin/python3", "-u", "-c", kServer, dir.c_str(), nullptr};
        posix_spawn(&pid_, argv[0], &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        FILE* in = fdopen(fds[0], "r");
        if (in && std::fscanf(in, "%d", &port_) != 1)
            port_ = 0;
        if (in)
            std::fclose(in);
    }
    ~TSiteServer()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    int Port() const { return port_; }

private:
    pid_t pid_ = 0;
    int port_ = 0;
};

void BM_CrawlLocalSite(benchmark::State& state)
{
    fs::path folder = fs::temp_directory_path() / ("vellumix-bench-site-" + std::to_string(getpid()));
    GenerateSite(folder);
    TSiteServer server(folder);
    if (server.Port() <= 0) {
        state.SkipWithError("cannot start python3 -m http.server");
        fs::remove_all(folder);
        return;
    }
    const std::string start = "http://127.0.0.1:" + std::to_string(server.Port()) + "/p0.html";
    std::size_t checked = 0;
    for (auto _ : state) {
        TCurlHttpFetcher fetcher;
        fetcher.Parallel = static_cast<int>(state.range(0));
        TLinkCrawl crawl(fetcher);
        crawl.Prefetch = 4 * static_cast<std::size_t>(state.range(0));
        crawl.Run(start);
        std::size_t links = crawl.Nodes().size() - 1;
        std::size_t ok = 0;
        for (const auto& node : crawl.Nodes())
            ok += node.State == lsOk;
        if (crawl.QueueSize() != kPages || links != static_cast<std::size_t>(kPages * kLinksPerPage) || ok != kPages) {
            state.SkipWithError(("queued " + std::to_string(crawl.QueueSize()) + ", links " + std::to_string(links)
                                 + ", ok " + std::to_string(ok))
                                    .c_str());
            break;
        }
        checked += crawl.QueueSize();
    }
    state.counters["URLs/s"] = benchmark::Counter(static_cast<double>(checked), benchmark::Counter::kIsRate);
    state.counters["links/s"] = benchmark::Counter(static_cast<double>(checked) * kLinksPerPage,
                                                   benchmark::Counter::kIsRate);
    fs::remove_all(folder);
}
BENCHMARK(BM_CrawlLocalSite)->Arg(1)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
