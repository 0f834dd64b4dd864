// Saving over a person's file on real files in a temporary folder: links,
// modes, owners, read-only and vanished files, a full disk, and the
// temporary files a killed save leaves.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "files.h"
#include "support/file_fixtures.h"

namespace fs = std::filesystem;

namespace {

class SafeSave : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() / ("zui-files-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string file(const std::string& name, const std::string& content) {
    return filetest::write_file(dir, name, content);
  }
  static std::string read(const std::string& path) { return filetest::read_file(path); }
  // The identity the viewer keeps from reading the file.
  static FileIdentity opened(const std::string& path) {
    FileIdentity id;
    std::string problem, text;
    const int fd = open_regular_file(path, id, problem);
    EXPECT_GE(fd, 0) << problem;
    EXPECT_TRUE(read_opened_file(fd, id.size, text, problem, nullptr));
    return id;
  }
  int entries() const { return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator())); }
};

}  // namespace

TEST_F(SafeSave, LinksModeAndOwnerStay) {
  FileIdentity written;
  // A symbolic link stays a link; its target gets the new text.
  const std::string target = file("target.csv", "old\n");
  fs::create_symlink("target.csv", dir / "link.csv");
  EXPECT_EQ(save_file((dir / "link.csv").string(), "new\n", 0, written), "");
  EXPECT_TRUE(fs::is_symlink(dir / "link.csv"));
  EXPECT_EQ(read(target), "new\n");
  // Other hard links see the new text: the file is written in place, and
  // its backup is gone afterwards.
  const std::string linked = file("a.csv", "old\n");
  fs::create_hard_link(linked, dir / "b.csv");
  const int before = entries();
  EXPECT_EQ(save_file(linked, "new, longer\n", 0, written), "");
  EXPECT_EQ(read((dir / "b.csv").string()), "new, longer\n");
  EXPECT_EQ(entries(), before);
  // Mode, and owner and group where permitted.
  const std::string owned = file("owned.csv", "old\n");
  chmod(owned.c_str(), 0640);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(owned.c_str(), 4321, 4322), 0);
  }
  EXPECT_EQ(save_file(owned, "new\n", 0, written), "");
  struct stat st {};
  ASSERT_EQ(stat(owned.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  if (root) {
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 4322u);
  }
  // A name near the system's limit still leaves room for the temporary file.
  const std::string longName = file(std::string(250, 'n') + ".csv", "old\n");
  EXPECT_EQ(save_file(longName, "new\n", 0, written), "");
  EXPECT_EQ(read(longName), "new\n");
}

TEST_F(SafeSave, RisksAreFoundBeforeSaving) {
  std::string detail;
  const std::string path = file("data.csv", "old\n");
  const FileIdentity id = opened(path);
  EXPECT_EQ(check_save_target(path, id, detail), SaveRisk::None);

  chmod(path.c_str(), 0444);
  EXPECT_EQ(check_save_target(path, id, detail), SaveRisk::ReadOnly);
  FileIdentity written;
  EXPECT_EQ(save_file(path, "new\n", 0, written), "");  // once the person agreed
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);

  const std::string other = file("other.csv", "old\n");
  const FileIdentity otherId = opened(other);
  file("other.csv", "changed elsewhere\n");
  EXPECT_EQ(check_save_target(other, otherId, detail), SaveRisk::Replaced);
  fs::remove(other);
  EXPECT_EQ(check_save_target(other, otherId, detail), SaveRisk::Missing);
  // Saved there again, it gets its old mode, not the temporary file's 0600.
  EXPECT_EQ(save_file(other, "new\n", 0640, written), "");
  ASSERT_EQ(stat(other.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  fs::create_directory(dir / "folder");
  EXPECT_EQ(check_save_target((dir / "folder").string(), FileIdentity{}, detail), SaveRisk::NotRegular);
  EXPECT_NE(save_file((dir / "folder").string(), "x", 0, written), "");
  std::string problem;
  EXPECT_LT(open_regular_file((dir / "folder").string(), written, problem), 0);
  EXPECT_EQ(problem, "is a folder, not a file");
}

TEST_F(SafeSave, AFullDiskLeavesTheFileAndNoTemporary) {
  const std::string path = file("data.csv", "old\n");
  const std::string linked = file("linked.csv", "old\n");
  fs::create_hard_link(linked, dir / "linked2.csv");
  const int before = entries();
  // Writing past a file size limit fails as a full disk does.
  signal(SIGXFSZ, SIG_IGN);
  rlimit old {};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  FileIdentity written;
  const std::string problem = save_file(path, std::string(4096, 'x'), 0, written);
  const std::string inPlace = save_file(linked, std::string(4096, 'x'), 0, written);
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_NE(problem.find("cannot write"), std::string::npos) << problem;
  EXPECT_NE(inPlace.find("the file is as it was"), std::string::npos) << inPlace;
  EXPECT_EQ(read(path), "old\n");
  EXPECT_EQ(read(linked), "old\n");
  EXPECT_EQ(entries(), before);
}

TEST_F(SafeSave, TemporariesOfKilledSavesAreRemoved) {
  // A process id that is not running, and ours, which is.
  const std::string dead = file(".zui-saving-" + std::to_string(INT32_MAX - 7) + "-abcdef", "half");
  const std::string live = file(".zui-saving-" + std::to_string(getpid()) + "-abcdef", "half");
  const std::string path = file("data.csv", "old\n");
  FileIdentity written;
  EXPECT_EQ(save_file(path, "new\n", 0, written), "");
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(live));
}
