// A data viewer built on the installed ZUI: shows a CSV file in a grid,
// lets its cells be edited and writes back only what was edited. The file
// is mapped into memory, not read; indexing, sorting, finding and saving
// run on worker threads while the window answers.
//
//   data_viewer [--separator C] FILE.csv
//
// The first record names the columns. When the first column is called
// "level", its whole numbers (0 to 100) make the rows a tree and it is not
// shown; sorting then orders rows within their parent.
//
// Exit codes: 0 after the window is closed, 1 without a display, 2 for a
// file that cannot be shown: missing, unreadable, not a regular file, or
// malformed before its first rows (the message names the line).
// ZUI_SCREENSHOT=<path> saves a picture once the file is shown and ends;
// ZUI_VIEWER_TIMINGS=1 prints how long the first screen, loading, sorting,
// finding and saving took, and the peak memory at the end.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "controls/controls.h"
#include "shell/shell.h"
#include "toolkit/tk.h"
#include "viewer.h"

using namespace zui;

using namespace zui;

using namespace zui;

using namespace zui;

namespace {
constexpr int32_t kQuietToShoot = 25;  // idle 20 ms turns before the picture
constexpr int kExitBadFile = 2;

int usage() {
  std::fputs("usage: data_viewer [--separator C] FILE.csv   (C: , ; | or tab)\n", stderr);
  return kExitBadFile;
}
}  // namespace

int main(int argc, char** argv) {
  Viewer v;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--separator" && i + 1 < argc) {
      const std::string s = argv[++i];
      if (s == "tab" || s == "\\t") v.separator = '\t';
      else if (s.size() == 1 && std::strchr(",;|\t", s[0]) != nullptr) v.separator = s[0];
      else return usage();
    } else if (path.empty() && (arg.empty() || arg[0] != '-' || arg == "-")) {
      path = arg;
    } else {
      return usage();
    }
  }
  if (path.empty()) return usage();
  const char* timings = std::getenv("ZUI_VIEWER_TIMINGS");
  v.timings = timings != nullptr && *timings != '\0';

  if (init_toolkit() == 0) {
    std::fputs("data_viewer: no display to open the window on\n", stderr);
    return 1;
  }
  load_skin(v.skin);
  if (open_viewer_window(v) == 0) return 1;
  // The file is checked before the window shows: what cannot be read at
  // all gives one message.
  if (const std::string problem = load_file(v, path); !problem.empty()) {
    std::fprintf(stderr, "data_viewer: %s %s\n", path.c_str(), problem.c_str());
    close_viewer(v);
    return kExitBadFile;
  }
  show_viewer_window(v);

  const char* shot = std::getenv("ZUI_SCREENSHOT");
  int32_t quiet = 0;
  // Asleep while nothing moves and no work runs (workers post their
  // progress); a screenshot counts quiet ticks.
  const bool wantShot = shot != nullptr && *shot != '\0';
  while (viewer_turn(v, wantShot || viewer_busy(v) ? kTickMs : next_wait(v.ui))) {
    if (shot != nullptr && *shot != '\0') {
      const bool idle = !viewer_busy(v) && tk_window_paint_count(v.window) > 0;
      quiet = idle ? quiet + 1 : 0;
      if (quiet == kQuietToShoot) {
        tk_save_window_screenshot(v.window, shot);
        break;
      }
    }
  }
  // The window goes at once; the rows' memory goes with the process, which
  // ends without taking them apart one by one.
  const int exitCode = v.exitCode;
  v.job.reset();
  v.findJob.reset();
  v.indexed.reset();
  v.sheet = Sheet{};
  if (v.timings) std::fprintf(stderr, "data_viewer: peak resident memory %ld MB\n", peak_memory_mb());
  tk_close_all_windows();
  std::fflush(nullptr);
  std::_Exit(exitCode);
}
