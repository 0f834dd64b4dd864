// Memory for large tables: anonymous mappings marked for huge pages, so a
// grid of a million rows faults in 2 MB pages instead of 4 KB ones.
#include <sys/mman.h>

#include <cstddef>

#include "toolkit/tk.h"

void* tk_alloc_pages(std::size_t bytes) {
  if (bytes == 0) return nullptr;
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) return nullptr;
  // Only advice: without huge pages the block works the same.
  madvise(block, bytes, MADV_HUGEPAGE);
  return block;
}

void tk_free_pages(void* block, std::size_t bytes) {
  if (block != nullptr && bytes != 0) munmap(block, bytes);
}
