// The figures that belong to whole processes: start-up to a drawn window,
// resident memory after start-up, and the CPU time of an idling program,
// each for the demo and for a bare Qt window measured the same way in the
// same run, and the wake-ups of both while nothing moves.
//
//   process_bench startup --demo D --peer P [--form F] [--runs 10]
//                                  (F: the same screen as a Qt Widgets form)
//   process_bench idle --demo D --peer P [--seconds 25]      (under X only)
//   process_bench scaled --demo D [--runs 10] [--scale 2]    (the demo at 1x and 2x)
//
// The platform is the children's QT_QPA_PLATFORM (offscreen when unset).
// Results go to stdout as "key value" lines; single samples go to stderr.
//
// Sections: clocks and /proc · children · start-up · idle · entry point.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCursor>
#include <QPoint>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/app.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "toolkit/tk.h"
#include "toolkit/tk_native.h"

using namespace zui;

extern char** environ;

namespace {

// ---- clocks and /proc ------------------------------------------------------------

double now_ms() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// A field of /proc/<pid>/status in kB; 0 when unreadable.
long status_kb(pid_t pid, const std::string& field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.compare(0, field.size() + 1, field + ":") == 0)
      return std::stol(line.substr(field.size() + 1));
  return 0;
}

// Calls `read` with each thread's id and its open /proc/<pid>/task/<tid>/<file>.
template <typename Read>
void each_thread(pid_t pid, const char* file, Read read) {
  const std::string dir = "/proc/" + std::to_string(pid) + "/task";
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  while (dirent* e = readdir(d)) {
    if (e->d_name[0] == '.') continue;
    std::ifstream in(dir + "/" + e->d_name + "/" + file);
    if (in) read(std::string(e->d_name), in);
  }
  closedir(d);
}

// CPU time of each thread of a process so far, in nanoseconds, by thread id
// (the first field of each thread's schedstat; the tick counts of
// /proc/<pid>/stat are too coarse for a program that should use next to
// nothing).
std::map<std::string, double> cpu_ns(pid_t pid) {
  std::map<std::string, double> times;
  each_thread(pid, "schedstat", [&](const std::string& tid, std::ifstream& in) {
    double ns = 0;
    if (in >> ns) times[tid] = ns;
  });
  return times;
}

// Voluntary context switches of each thread of a process so far, by thread
// id: each is a sleep that ended, so their growth over a still time counts
// the wake-ups.
std::map<std::string, long> wakeups(pid_t pid) {
  std::map<std::string, long> counts;
  each_thread(pid, "status", [&](const std::string& tid, std::ifstream& in) {
    std::string line;
    while (std::getline(in, line))
      if (line.compare(0, 24, "voluntary_ctxt_switches:") == 0)
        counts[tid] = std::stol(line.substr(24));
  });
  return counts;
}

// The growth between two readings of the threads alive at the end. A
// thread that ended meanwhile (Qt's pool threads end after half a minute of
// rest) takes its count with it, so only the threads alive at the end count.
template <typename Value>
Value grown(const std::map<std::string, Value>& before,
            const std::map<std::string, Value>& after) {
  Value total = 0;
  for (const auto& [thread, value] : after) {
    const auto it = before.find(thread);
    total += value - (it == before.end() ? 0 : it->second);
  }
  return total;
}

double median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// ---- children --------------------------------------------------------------------

struct Child {
  pid_t pid = -1;
  int out = -1;  // read end of its stdout
};

// Starts a program with ZUI_REPORT_SHOWN set, stdout into a pipe and stderr
// discarded.
Child spawn(const std::string& path) {
  Child c;
  int fds[2];
  if (pipe(fds) != 0) return c;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addclose(&actions, fds[1]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (rc != 0) {
    close(fds[0]);
    return c;
  }
  c.pid = pid;
  c.out = fds[0];
  return c;
}

// Reads the child's stdout until the line "shown"; false on end of file or
// after timeoutMs.
bool wait_shown(const Child& c, double timeoutMs) {
  const double deadline = now_ms() + timeoutMs;
  std::string seen;
  while (seen.find("shown\n") == std::string::npos) {
    const double left = deadline - now_ms();
    if (left <= 0) return false;
    pollfd p{c.out, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left) + 1) <= 0) continue;
    char buf[256];
    const ssize_t n = read(c.out, buf, sizeof buf);
    if (n <= 0) return false;
    seen.append(buf, static_cast<size_t>(n));
  }
  return true;
}

void end(Child& c) {
  if (c.pid > 0) {
    kill(c.pid, SIGTERM);
    waitpid(c.pid, nullptr, 0);
  }
  if (c.out >= 0) close(c.out);
  c = Child{};
}

// ---- start-up ----------------------------------------------------------------------

struct StartUp {
  double ms = -1;  // from the spawn to the "shown" line
  double rssMb = -1;
};

StartUp start_once(const std::string& path) {
  StartUp s;
  const double t0 = now_ms();
  Child c = spawn(path);
  if (c.pid > 0 && wait_shown(c, 20000)) {
    s.ms = now_ms() - t0;
    s.rssMb = status_kb(c.pid, "VmRSS") / 1024.0;
  }
  end(c);
  return s;
}

int run_startup(const std::string& platform, const std::string& demo, const std::string& peer,
                const std::string& form, int runs) {
  // The programs by the name their figures carry; the form is optional.
  std::vector<std::pair<std::string, std::string>> programs{{"demo", demo}, {"peer", peer}};
  if (!form.empty()) programs.emplace_back("form", form);
  const size_t n = programs.size();
  // One untimed start each fills the page cache.
  for (const auto& program : programs) start_once(program.second);
  std::vector<std::vector<double>> ms(n), mb(n);
  for (int i = 0; i < runs; ++i) {
    // Rotating who goes first keeps a drift in the machine's load fair.
    for (size_t k = 0; k < n; ++k) {
      const auto& [name, path] = programs[(i + k) % n];
      const StartUp s = start_once(path);
      if (s.ms < 0) {
        std::fprintf(stderr, "%s did not report a drawn window\n", path.c_str());
        return 1;
      }
      std::fprintf(stderr, "startup %s %s %.1f ms %.1f MB\n", platform.c_str(), name.c_str(),
                   s.ms, s.rssMb);
      ms[(i + k) % n].push_back(s.ms);
      mb[(i + k) % n].push_back(s.rssMb);
    }
  }
  for (size_t k = 0; k < n; ++k)
    std::printf("startup.%s.%s %.2f\n", platform.c_str(), programs[k].first.c_str(),
                median(ms[k]));
  for (size_t k = 0; k < n; ++k)
    std::printf("rss.%s.%s %.2f\n", platform.c_str(), programs[k].first.c_str(), median(mb[k]));
  return 0;
}

// Start-up of the demo at 1x and at another display scale (QT_SCALE_FACTOR),
// taking turns like demo and peer do: the 1x runs are the peer figure.
int run_scaled(const std::string& platform, const std::string& demo, int runs,
               const std::string& factor) {
  const auto start_at = [&](const std::string& f) {
    setenv("QT_SCALE_FACTOR", f.c_str(), 1);
    return start_once(demo);
  };
  start_at("1");
  start_at(factor);
  std::vector<double> oneMs, scaledMs;
  for (int i = 0; i < runs; ++i) {
    for (int k = 0; k < 2; ++k) {
      const bool scaled = (i + k) % 2 == 0;
      const StartUp s = start_at(scaled ? factor : "1");
      if (s.ms < 0) {
        std::fprintf(stderr, "%s did not report a drawn window\n", demo.c_str());
        return 1;
      }
      std::fprintf(stderr, "startup %s scale %s %.1f ms\n", platform.c_str(),
                   scaled ? factor.c_str() : "1", s.ms);
      (scaled ? scaledMs : oneMs).push_back(s.ms);
    }
  }
  unsetenv("QT_SCALE_FACTOR");
  std::printf("startup.%s.scaled %.2f\n", platform.c_str(), median(scaledMs));
  std::printf("startup.%s.unscaled %.2f\n", platform.c_str(), median(oneMs));
  return 0;
}

// ---- idle --------------------------------------------------------------------------

// Screen points of the "grid matrix" tab and of the middle of
// "GridVersionConfig", taken from the demo screen built in this process on
// the same display: without a window manager the demo's window opens at the
// same place.
struct Targets {
  QPoint tab, grid;
};

Targets probe_targets() {
  App app;
  start_up(app);
  build_demo_screen(app);
  for (int i = 0; i < 10; ++i) main_loop_iteration(app, 20);
  Targets t;
  QWidget* client = tk_window_client(app.state.mainWindow);
  if (find_object(app.ui, "PanelVersionData", 0) == 1) {
    NamedObject* bar = current_object(app.ui);
    const int x = bar->absX + tab_bar_record(*bar)->tabs[0].width + tab_bar_record(*bar)->tabs[1].width / 2;
    t.tab = client->mapToGlobal(QPoint(x, bar->absY + bar->height / 2));
  }
  if (find_object(app.ui, "GridVersionConfig", 0) == 1) {
    NamedObject* g = current_object(app.ui);
    t.grid = client->mapToGlobal(QPoint(g->absX + g->width / 2, g->absY + g->height / 2));
  }
  shut_down(app);
  for (int i = 0; i < 5; ++i) tk_wait_event(20);
  return t;
}

bool xdotool(const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>("xdotool")};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int run_idle(const std::string& platform, const std::string& demo, const std::string& peer,
             int seconds) {
  if (platform != "xcb") {
    std::fprintf(stderr, "idle: needs an X display to rest the pointer on the grid\n");
    return 1;
  }
  const Targets t = probe_targets();
  // The peer first: the demo's window, mapped later, lies on top.
  Child p = spawn(peer);
  Child d = spawn(demo);
  if (!wait_shown(p, 20000) || !wait_shown(d, 20000)) {
    std::fprintf(stderr, "idle: a program did not report a drawn window\n");
    end(p);
    end(d);
    return 1;
  }
  // Show the page with the data grids, then rest the pointer on one of them:
  // every dispatch then installs the grid's shortcuts again.
  const auto str = [](int v) { return std::to_string(v); };
  bool ok = xdotool({"mousemove", "--sync", str(t.tab.x()), str(t.tab.y())});
  sleep_ms(200);
  ok = ok && xdotool({"click", "1"});
  sleep_ms(500);
  ok = ok && xdotool({"mousemove", "--sync", str(t.grid.x()), str(t.grid.y())});
  if (!ok) std::fprintf(stderr, "idle: xdotool failed; the pointer is not on the grid\n");
  sleep_ms(2000);

  const auto d0 = cpu_ns(d.pid), p0 = cpu_ns(p.pid);
  const double t0 = now_ms();
  const long demoKb = status_kb(d.pid, "VmRSS"), peerKb = status_kb(p.pid, "VmRSS");
  sleep_ms(seconds * 1000);
  const auto d1 = cpu_ns(d.pid), p1 = cpu_ns(p.pid);
  const double minutes = (now_ms() - t0) / 60000.0;

  // Then still with the pointer outside both windows (they open right of
  // and above this corner): wake-ups and CPU time over ten seconds.
  ok = xdotool({"mousemove", "--sync", "2", "798"}) && ok;
  sleep_ms(2000);
  const auto dw0 = wakeups(d.pid), pw0 = wakeups(p.pid);
  const auto ds0 = cpu_ns(d.pid), ps0 = cpu_ns(p.pid);
  const double s0 = now_ms();
  sleep_ms(10000);
  const auto dw1 = wakeups(d.pid), pw1 = wakeups(p.pid);
  const auto ds1 = cpu_ns(d.pid), ps1 = cpu_ns(p.pid);
  const double stillMinutes = (now_ms() - s0) / 60000.0;
  end(d);
  end(p);
  std::fprintf(stderr,
               "idle %s: tab clicked at %d,%d, pointer resting at %d,%d; demo %.1f MB, "
               "peer %.1f MB\n",
               platform.c_str(), t.tab.x(), t.tab.y(), t.grid.x(), t.grid.y(), demoKb / 1024.0,
               peerKb / 1024.0);
  // CPU seconds per minute of wall time.
  std::printf("idle.%s.demo %.4f\n", platform.c_str(), grown(d0, d1) / 1e9 / minutes);
  std::printf("idle.%s.peer %.4f\n", platform.c_str(), grown(p0, p1) / 1e9 / minutes);
  std::printf("still.%s.demo.wakeups %ld\n", platform.c_str(), grown(dw0, dw1));
  std::printf("still.%s.peer.wakeups %ld\n", platform.c_str(), grown(pw0, pw1));
  std::printf("still.%s.demo.cpu %.4f\n", platform.c_str(), grown(ds0, ds1) / 1e9 / stillMinutes);
  std::printf("still.%s.peer.cpu %.4f\n", platform.c_str(), grown(ps0, ps1) / 1e9 / stillMinutes);
  return ok ? 0 : 1;
}

// ---- entry point -------------------------------------------------------------------

std::string arg(int argc, char** argv, const std::string& name, const std::string& fallback) {
  for (int i = 2; i + 1 < argc; ++i)
    if (name == argv[i]) return argv[i + 1];
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: process_bench startup|idle|scaled --demo PATH --peer PATH "
                         "[--form PATH] [--runs N] [--seconds S] [--scale F]\n");
    return 2;
  }
  // The children share this environment; Qt wants a private runtime directory.
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    static char dir[] = "/tmp/zui-bench-XXXXXX";
    if (mkdtemp(dir)) setenv("XDG_RUNTIME_DIR", dir, 1);
  }
  setenv("QT_QPA_PLATFORM", std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM")
                                                            : "offscreen", 1);
  setenv("ZUI_REPORT_SHOWN", "1", 1);
  const std::string platform = std::getenv("QT_QPA_PLATFORM");
  const std::string mode = argv[1];
  const std::string demo = arg(argc, argv, "--demo", "");
  const std::string peer = arg(argc, argv, "--peer", "");
  if (mode == "startup")
    return run_startup(platform, demo, peer, arg(argc, argv, "--form", ""),
                       std::stoi(arg(argc, argv, "--runs", "10")));
  if (mode == "scaled")
    return run_scaled(platform, demo, std::stoi(arg(argc, argv, "--runs", "10")),
                      arg(argc, argv, "--scale", "2"));
  if (mode == "idle")
    return run_idle(platform, demo, peer, std::stoi(arg(argc, argv, "--seconds", "25")));
  std::fprintf(stderr, "process_bench: unknown mode %s\n", mode.c_str());
  return 2;
}
