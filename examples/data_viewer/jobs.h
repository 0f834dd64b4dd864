#pragma once
// The viewer's work away from the window's thread (sorting, finding,
// saving; indexing is mapped.h's): each job tells the window's thread
// through a callback that it ended (the viewer posts an event with it) and
// never touches anything else of it. Nothing here knows about ZUI.
#include <atomic>
#include <functional>
#include <thread>

// Runs one piece of work on a thread of its own and says when it ended.
class Job {
 public:
  Job(std::function<void(const std::atomic<bool>& cancel)> work, std::function<void()> notify);
  ~Job();  // asks the work to stop and waits for it
  Job(const Job&) = delete;
  Job& operator=(const Job&) = delete;
  void cancel() { cancel_ = true; }
  bool finished() const { return finished_; }

 private:
  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
  std::thread thread_;
};
