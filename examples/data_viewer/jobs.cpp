#include "jobs.h"

Job::Job(std::function<void(const std::atomic<bool>& cancel)> work, std::function<void()> notify) {
  thread_ = std::thread([this, work = std::move(work), notify = std::move(notify)] {
    work(cancel_);
    finished_ = true;
    notify();
  });
}

Job::~Job() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}
