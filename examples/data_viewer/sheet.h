#pragma once
// The viewer's data as the window and its workers read it: an indexed file
// and the edits made to it, which live beside the bytes until saved. Values
// are parsed from the file's bytes when asked for. Nothing here knows about ZUI.
//
// Sections: the data · values · sorting · finding · saving.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "csv.h"
#include "files.h"
#include "mapped.h"

// ---- the data --------------------------------------------------------------------
// A file's records with their edits. The window keeps one; a worker gets a
// copy, fixed while it runs (the index only grows, and only below `records`
// is read).
struct Sheet {
  std::shared_ptr<IndexedFile> file;  // the index (and the bytes it read)
  std::shared_ptr<FileBytes> bytes;   // the bytes values come from
  CsvFormat format;                   // separator and encoding as known now
  int64_t records = 0;                // records shown, the header counted
  uint32_t skip = 0;                  // 1 when the first field is a tree's level
  bool foldsToAscii = false;          // holds a letter whose case folds to ASCII (a sharp s)
  DocumentEdits edits;                // edited fields by record, UTF-8

  std::string_view text() const { return bytes->text(); }
  const RecordIndex& index() const { return file->index(); }
};

// ---- values ----------------------------------------------------------------------
// Field `field` of a record's bytes as in the file's encoding: a view into
// `record` when it is plain, else decoded into `scratch`. Empty past the end.
std::string_view raw_field(std::string_view record, char separator, uint32_t field, std::string& scratch);
// A field's value as the person sees it (UTF-8): edited, or as in the file.
std::string sheet_value(const Sheet& s, int64_t record, uint32_t field);
// The same from the file alone.
std::string file_value(const Sheet& s, int64_t record, uint32_t field);

// ---- sorting ---------------------------------------------------------------------
// New position -> data row (record - 1) for a sort by `field`: numbers by
// value, texts by collation, empty cells last either way, equal cells in
// file order. `levels` (empty or one per data row) keeps a tree's children
// under their parents. Texts are ranked among their distinct values while
// there are at most `rankedUpTo`, else by their collation keys' first
// bytes. Empty when `cancel` turned true.
std::vector<int32_t> sort_sheet(const Sheet& s, uint32_t field, bool descending,
                                const std::vector<int8_t>& levels, const std::atomic<bool>* cancel,
                                std::size_t rankedUpTo = std::size_t{1} << 20);

// ---- finding ---------------------------------------------------------------------
// Whether a shown field of a record holds `folded` (case folded).
bool record_holds(const Sheet& s, int64_t record, const std::string& folded);
// Data records [first, last) holding `folded`, searched in the file's bytes
// front to back; `hit` is told each and returns whether to go on. False when
// `cancel` stopped it.
bool find_records(const Sheet& s, const std::string& folded, int64_t first, int64_t last,
                  const std::function<bool(int64_t record)>& hit, const std::atomic<bool>* cancel);

// ---- saving ----------------------------------------------------------------------
// Writes the file with its edits to `path` (files.h's safe save): untouched
// records byte for byte. "" or the problem.
std::string save_sheet(const Sheet& s, const std::string& path, uint32_t mode, FileIdentity& written);
