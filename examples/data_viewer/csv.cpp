#include "csv.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

// ---- UTF-8 ---------------------------------------------------------------------------
std::size_t first_invalid_utf8(std::string_view text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    uint32_t lowest = 0;  // smallest value of this length: shorter forms are overlong
    uint32_t value = 0;
    if ((c & 0xE0) == 0xC0) length = 2, lowest = 0x80, value = c & 0x1F;
    else if ((c & 0xF0) == 0xE0) length = 3, lowest = 0x800, value = c & 0x0F;
    else if ((c & 0xF8) == 0xF0) length = 4, lowest = 0x10000, value = c & 0x07;
    else return i;
    if (i + length > n) return i;
    for (std::size_t k = 1; k < length; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return i;
      value = (value << 6) | (s[i + k] & 0x3F);
    }
    if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return i;
    i += length;
  }
  return n;
}

// ---- reading ---------------------------------------------------------------------------
CsvReader::CsvReader(std::string_view text) : text_(text) {
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

bool CsvReader::fail(int64_t line, const std::string& what) {
  error_ = "line " + std::to_string(line) + ": " + what;
  return false;
}

bool CsvReader::next(std::vector<std::string>& fields) {
  fields.clear();
  if (!error_.empty()) return false;
  const std::size_t n = text_.size();
  // Blank lines between records carry nothing.
  while (pos_ < n && (text_[pos_] == '\n' || text_[pos_] == '\r')) {
    if (text_[pos_] == '\n') ++line_;
    if (text_[pos_] == '\n' && (pos_ == 0 || text_[pos_ - 1] != '\r')) crlf_ = false;
    ++pos_;
  }
  if (pos_ >= n) return false;
  recordLine_ = line_;

  // The whole text is checked once, before the first record.
  if (!checked_) {
    checked_ = true;
    const std::size_t bad = first_invalid_utf8(text_);
    if (bad < n) {
      int64_t line = 1;
      for (std::size_t i = 0; i < bad; ++i) line += text_[i] == '\n';
      return fail(line, "the text is not valid UTF-8");
    }
  }

  for (;;) {
    std::string field;
    if (pos_ < n && text_[pos_] == '"') {
      const int64_t opened = line_;
      ++pos_;
      for (;;) {
        if (pos_ >= n) return fail(opened, "a quoted field is not closed");
        const char c = text_[pos_];
        if (c == '"') {
          if (pos_ + 1 < n && text_[pos_ + 1] == '"') {
            field += '"';
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        if (c == '\n') ++line_;
        field += c;
        ++pos_;
      }
      if (pos_ < n && text_[pos_] != ',' && text_[pos_] != '\r' && text_[pos_] != '\n')
        return fail(line_, "text after the closing quote of a field");
    } else {
      const std::size_t start = pos_;
      while (pos_ < n && text_[pos_] != ',' && text_[pos_] != '\r' && text_[pos_] != '\n') {
        if (text_[pos_] == '"') return fail(line_, "a quote inside a field that does not start with one");
        ++pos_;
      }
      field.assign(text_.substr(start, pos_ - start));
    }
    fields.push_back(std::move(field));
    if (pos_ < n && text_[pos_] == ',') {
      ++pos_;
      continue;
    }
    // The record's line end: CRLF, LF or a lone CR.
    if (pos_ < n && text_[pos_] == '\r') ++pos_;
    if (pos_ < n && text_[pos_] == '\n') {
      if (text_[pos_ - 1] != '\r') crlf_ = false;
      ++pos_;
    }
    ++line_;
    return true;
  }
}

// ---- writing ---------------------------------------------------------------------------
std::string csv_record(const std::vector<std::string>& fields, const char* eol) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string& f = fields[i];
    if (i > 0) line += ',';
    const bool quote = f.find_first_of(",\"\r\n") != std::string::npos ||
                       (!f.empty() && (f.front() == ' ' || f.back() == ' '));
    if (!quote) {
      line += f;
      continue;
    }
    line += '"';
    for (char c : f) {
      if (c == '"') line += '"';
      line += c;
    }
    line += '"';
  }
  line += eol;
  return line;
}

std::string replace_file(const std::string& path, const std::string& content) {
  const auto why = [](const std::string& what) { return what + ": " + std::strerror(errno); };
  std::string temp = path + ".saving-XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return why("cannot create a file beside " + path);
  std::string problem;
  struct stat original {};
  if (stat(path.c_str(), &original) == 0) fchmod(fd, original.st_mode & 07777);
  for (std::size_t done = 0; problem.empty() && done < content.size();) {
    const ssize_t wrote = write(fd, content.data() + done, content.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) problem = why("cannot write " + temp);
    else done += static_cast<std::size_t>(wrote);
  }
  if (problem.empty() && fsync(fd) != 0) problem = why("cannot flush " + temp);
  if (close(fd) != 0 && problem.empty()) problem = why("cannot close " + temp);
  if (problem.empty() && rename(temp.c_str(), path.c_str()) != 0)
    problem = why("cannot replace " + path);
  if (!problem.empty()) unlink(temp.c_str());
  return problem;
}
