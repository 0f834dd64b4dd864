#pragma once
// Reading a person's file and writing it back without harming it: only
// regular files are read, and never more than their size; a save goes
// through a temporary file flushed to disk and renamed over the original
// (or, for a file with other hard links, is written in place after a backup
// copy), keeping mode, owner, group and symbolic links. Nothing here knows
// about ZUI.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// What a file was when it was read, to notice a replacement before saving.
struct FileIdentity {
  bool known = false;     // a file was read or written
  uint64_t device = 0;    // st_dev
  uint64_t inode = 0;     // st_ino
  int64_t size = 0;       // st_size
  int64_t modifiedNs = 0; // st_mtim in nanoseconds
  uint32_t mode = 0;      // permission bits
};

// Opens `path` for reading when it is a regular file: the descriptor, or -1
// with `problem` set (a folder, FIFO, device or socket, or what the system
// said). `id` and `size` describe the file opened.
int open_regular_file(const std::string& path, FileIdentity& id, std::string& problem);
// Reads `size` bytes from the start of `fd` (no more, whatever the file has
// grown to since) and closes it. False with `problem` set, also when
// `cancel` turned true.
bool read_opened_file(int fd, int64_t size, std::string& out, std::string& problem,
                      const std::atomic<bool>* cancel);

// What stands in the way of saving over a path.
enum class SaveRisk : uint8_t {
  None,        // nothing: save
  Missing,     // the file read was deleted or moved away since
  Replaced,    // another file, or this one changed, since it was read
  ReadOnly,    // the file may not be written
  NotRegular,  // a folder, device or the like: refused
};
// Checks `path` (links followed) against what was read from it (`id`;
// unknown for a new name). `detail` says what was found.
SaveRisk check_save_target(const std::string& path, const FileIdentity& id, std::string& detail);

// Writes `content` as the file at `path`: where a symbolic link points, in
// its directory, through a temporary file named
// ".zui-saving-<process>-XXXXXX" that is flushed and renamed over it, the
// directory flushed after. A file with other hard links is written in place
// after a backup copy ".zui-backup-<process>-XXXXXX" beside it, removed
// once the write completed. Mode, owner and group stay where permitted; a
// file that does not exist (any more) gets `modeIfNew`, 0 for the default
// of new files. "" on success, with `written` describing the new file;
// otherwise a message, and the file is as it was.
std::string save_file(const std::string& path, const std::string& content, uint32_t modeIfNew,
                      FileIdentity& written);
// The same for content made piece by piece: `produce` hands each piece to
// its argument (false: the write failed) and returns "" or what went wrong,
// which is then the answer. Content for a file written in place is made
// whole before the file is touched.
using ContentMaker = std::function<std::string(const std::function<bool(std::string_view)>& put)>;
std::string save_file(const std::string& path, const ContentMaker& produce, uint32_t modeIfNew,
                      FileIdentity& written);
// Whether a save to `path` would write the file in place (it has other hard links).
bool saves_in_place(const std::string& path);

// Removes the temporary files of saves in `directory` whose process has
// ended (a save killed half-way); the number removed.
int remove_stale_temporaries(const std::string& directory);
