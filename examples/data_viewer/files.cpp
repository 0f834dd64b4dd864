#include "files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <vector>

namespace {

constexpr const char* kTempPrefix = ".zui-saving-";
constexpr const char* kBackupPrefix = ".zui-backup-";
constexpr std::size_t kChunk = std::size_t{4} << 20;  // bytes per read between cancel checks

std::string said(const std::string& what) { return what + ": " + std::strerror(errno); }

FileIdentity identity_of(const struct stat& st) {
  FileIdentity id;
  id.known = true;
  id.device = st.st_dev;
  id.inode = st.st_ino;
  id.size = st.st_size;
  id.modifiedNs = int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
  id.mode = st.st_mode & 07777;
  return id;
}

std::string directory_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The path a chain of symbolic links ends at (which may not exist).
std::string link_target(const std::string& path) {
  std::string at = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t n = readlink(at.c_str(), buffer.data(), buffer.size() - 1);
    if (n <= 0) return at;
    const std::string target(buffer.data(), static_cast<std::size_t>(n));
    at = target.front() == '/' ? target : directory_of(at) + "/" + target;
  }
  return at;
}

bool write_all(int fd, std::string_view content) {
  for (std::size_t done = 0; done < content.size();) {
    const ssize_t wrote = write(fd, content.data() + done, content.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      if (wrote == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

void sync_directory(const std::string& directory) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// The process's file creation mask, read without changing it (umask()
// would change it for every thread for a moment).
mode_t current_umask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtol(line.c_str() + 6, nullptr, 8));
  }
  return 022;
}

std::string temp_template(const std::string& directory, const char* prefix) {
  return directory + "/" + prefix + std::to_string(getpid()) + "-XXXXXX";
}

// The file written in place after a backup copy beside it: other hard
// links keep seeing the file.
std::string save_in_place(const std::string& target, const std::string& content,
                          FileIdentity& written) {
  const std::string directory = directory_of(target);
  std::string original;
  {
    FileIdentity ignored;
    std::string problem;
    const int fd = open_regular_file(target, ignored, problem);
    if (fd < 0 || !read_opened_file(fd, ignored.size, original, problem, nullptr))
      return "cannot keep a backup of " + target + ": " + problem;
  }
  std::string backup = temp_template(directory, kBackupPrefix);
  const int b = mkstemp(backup.data());
  if (b < 0) return said("cannot create a backup beside " + target);
  const bool kept = write_all(b, original) && fsync(b) == 0;
  const std::string backupProblem = kept ? "" : said("cannot write the backup " + backup);
  close(b);
  if (!kept) {
    unlink(backup.c_str());
    return backupProblem;
  }
  const int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) {
    unlink(backup.c_str());
    return said("cannot write " + target);
  }
  bool done = write_all(fd, content) && ftruncate(fd, static_cast<off_t>(content.size())) == 0 &&
              fsync(fd) == 0;
  std::string problem = done ? "" : said("cannot write " + target);
  if (!done) {
    // Put the original back; keep the backup if even that fails.
    const bool restored = lseek(fd, 0, SEEK_SET) == 0 && write_all(fd, original) &&
                          ftruncate(fd, static_cast<off_t>(original.size())) == 0 && fsync(fd) == 0;
    problem += restored ? " (the file is as it was)" : " (the original is kept in " + backup + ")";
    if (!restored) {
      close(fd);
      return problem;
    }
  }
  struct stat st {};
  if (done && fstat(fd, &st) == 0) written = identity_of(st);
  close(fd);
  unlink(backup.c_str());
  sync_directory(directory);
  return problem;
}

}  // namespace

int open_regular_file(const std::string& path, FileIdentity& id, std::string& problem) {
  // Not blocking: opening a FIFO without a writer would wait for one.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    problem = said("cannot open");
    return -1;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    problem = said("cannot read");
    close(fd);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    problem = S_ISDIR(st.st_mode) ? "is a folder, not a file" : "is not a regular file (a device, FIFO or socket)";
    close(fd);
    return -1;
  }
  id = identity_of(st);
  return fd;
}

bool read_opened_file(int fd, int64_t size, std::string& out, std::string& problem,
                      const std::atomic<bool>* cancel) {
  out.clear();
  try {
    out.resize(static_cast<std::size_t>(size));
  } catch (const std::exception&) {
    problem = "is too large to hold in memory (" + std::to_string(size) + " bytes)";
    close(fd);
    return false;
  }
  std::size_t done = 0;
  while (done < out.size()) {
    if (cancel != nullptr && cancel->load()) {
      problem = "reading was stopped";
      close(fd);
      return false;
    }
    const std::size_t want = std::min(kChunk, out.size() - done);
    const ssize_t got = pread(fd, out.data() + done, want, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      problem = got == 0 ? "became shorter while it was read" : said("cannot read");
      close(fd);
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  close(fd);
  return true;
}

SaveRisk check_save_target(const std::string& path, const FileIdentity& id, std::string& detail) {
  const std::string target = link_target(path);
  struct stat st {};
  if (stat(target.c_str(), &st) != 0) {
    detail = id.known ? path + " was deleted or moved away since it was opened" : "";
    return id.known ? SaveRisk::Missing : SaveRisk::None;
  }
  if (!S_ISREG(st.st_mode)) {
    detail = path + " is not a regular file";
    return SaveRisk::NotRegular;
  }
  const FileIdentity now = identity_of(st);
  if (id.known && (now.device != id.device || now.inode != id.inode || now.size != id.size ||
                   now.modifiedNs != id.modifiedNs)) {
    detail = path + " was changed by another program since it was opened";
    return SaveRisk::Replaced;
  }
  if (access(target.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0) {
    detail = path + " is read-only";
    return SaveRisk::ReadOnly;
  }
  detail.clear();
  return SaveRisk::None;
}

std::string save_file(const std::string& path, const std::string& content, uint32_t modeIfNew,
                      FileIdentity& written) {
  return save_file(
      path, [&content](const std::function<bool(std::string_view)>& put) { return put(content) ? "" : "cannot write"; },
      modeIfNew, written);
}

bool saves_in_place(const std::string& path) {
  struct stat st {};
  return stat(link_target(path).c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink > 1;
}

std::string save_file(const std::string& path, const ContentMaker& produce, uint32_t modeIfNew,
                      FileIdentity& written) {
  const std::string target = link_target(path);
  const std::string directory = directory_of(target);
  struct stat original {};
  const bool exists = stat(target.c_str(), &original) == 0;
  if (exists && !S_ISREG(original.st_mode)) return path + " is not a regular file";
  if (exists && original.st_nlink > 1) {
    std::string content;
    const std::string problem = produce([&content](std::string_view piece) {
      content.append(piece);
      return true;
    });
    if (!problem.empty()) return problem;
    return save_in_place(target, content, written);
  }

  remove_stale_temporaries(directory);
  std::string temp = temp_template(directory, kTempPrefix);
  const int fd = mkstemp(temp.data());
  if (fd < 0) return said("cannot create a file in " + directory);
  std::string problem;
  const mode_t mode = exists ? original.st_mode & 07777
                      : modeIfNew != 0 ? modeIfNew : 0666 & ~current_umask();
  if (fchmod(fd, mode) != 0) problem = said("cannot set the mode of " + temp);
  // Owner and group where permitted; the group alone when only that is.
  if (problem.empty() && exists && (original.st_uid != geteuid() || original.st_gid != getegid()) &&
      fchown(fd, original.st_uid, original.st_gid) != 0)
    (void)fchown(fd, static_cast<uid_t>(-1), original.st_gid);
  if (problem.empty()) {
    int error = 0;
    problem = produce([fd, &error](std::string_view piece) {
      if (write_all(fd, piece)) return true;
      error = errno;
      return false;
    });
    if (error != 0) {
      errno = error;
      problem = said("cannot write " + path);
    }
  }
  if (problem.empty() && fsync(fd) != 0) problem = said("cannot flush " + path + " to disk");
  struct stat st {};
  if (problem.empty() && fstat(fd, &st) == 0) written = identity_of(st);
  if (close(fd) != 0 && problem.empty()) problem = said("cannot close " + temp);
  if (problem.empty() && rename(temp.c_str(), target.c_str()) != 0)
    problem = said("cannot replace " + path);
  if (!problem.empty()) {
    unlink(temp.c_str());
    return problem;
  }
  sync_directory(directory);
  return {};
}

int remove_stale_temporaries(const std::string& directory) {
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr) return 0;
  int removed = 0;
  const std::size_t prefixLength = std::strlen(kTempPrefix);
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefixLength, kTempPrefix) != 0) continue;
    char* end = nullptr;
    const long pid = std::strtol(name.c_str() + prefixLength, &end, 10);
    if (pid <= 0 || end == nullptr || *end != '-') continue;
    // A process that still runs may be saving right now.
    if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    if (unlink((directory + "/" + name).c_str()) == 0) ++removed;
  }
  closedir(dir);
  return removed;
}
