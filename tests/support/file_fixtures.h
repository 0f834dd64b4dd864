#pragma once
// Real files for tests that read and write a person's files.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace filetest {

// Writes `content` byte for byte to `name` inside `dir`; the path written.
inline std::string write_file(const std::filesystem::path& dir, const std::string& name,
                              const std::string& content) {
  const std::string path = (dir / name).string();
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

// The file's bytes, empty when it cannot be read.
inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace filetest
