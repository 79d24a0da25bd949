// Records of small sizes are carved from chunks in order; a freed record
// waits on the free list of its size and is handed out again. Chunks are
// kept on a list of their own and released together by PoolRelease.
#include "pool.h"

#include <cassert>
#include <cstdlib>
#include <cstdint>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define POOL_ASAN 1
#endif
#endif
#ifndef POOL_ASAN
#include <sys/mman.h>
#endif
#ifdef POOL_ASAN
#include <sanitizer/asan_interface.h>
#define POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define POISON(p, n) ((void)(p), (void)(n))
#define UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

const size_t ALIGN = 8;
const size_t HUGE_PAGE = 2 * 1024 * 1024;
const size_t CHUNK_SIZE = HUGE_PAGE - 16;     // with its header one huge page
const size_t CLASS_MAX = 1024;                // larger blocks are not reused
const size_t CLASSES = CLASS_MAX / ALIGN + 1;

struct Chunk {
  Chunk *next;
  size_t size;
};
const size_t HEADER = (sizeof(Chunk) + ALIGN - 1) / ALIGN * ALIGN;
static_assert(HEADER + CHUNK_SIZE == HUGE_PAGE, "a chunk fills a huge page");

struct FreeBlock { FreeBlock *next; };

Chunk *chunks;          // every chunk, the newest first
char *cursor, *limit;   // what is left of the newest chunk
FreeBlock *freeList[CLASSES];
size_t held;

size_t Round(size_t size) { return size ? (size + ALIGN - 1) / ALIGN * ALIGN : ALIGN; }

#ifndef POOL_ASAN
// Zero-filled pages from the system. A chunk of a huge page's size is
// placed on a huge page boundary and offered as one (a single fault instead
// of one per small page) where the system allows it.
void *MapZeroed(size_t size) {
  const size_t HUGE = HUGE_PAGE;
  size_t whole = size == HUGE ? 2 * HUGE : size;
  char *m = static_cast<char *>(mmap(nullptr, whole, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  if (m == MAP_FAILED) abort();
  if (size != HUGE) return m;
  char *start = m + (HUGE - reinterpret_cast<uintptr_t>(m) % HUGE) % HUGE;
  if (start > m) munmap(m, static_cast<size_t>(start - m));
  if (start + HUGE < m + whole) munmap(start + HUGE, static_cast<size_t>(m + whole - start - HUGE));
  madvise(start, HUGE, MADV_HUGEPAGE);
  return start;
}
#endif

void *ChunkNew(size_t size) {
  static int registered;
  if (!registered) registered = !atexit(PoolRelease);
  // zero-filled once: the blocks carved from it in order need no clearing.
  // Fresh pages come zero-filled from the system; the sanitizer build takes
  // them from the allocator, which reports any use after their release.
#ifdef POOL_ASAN
  Chunk *c = static_cast<Chunk *>(calloc(1, HEADER + size));
  if (!c) abort();
#else
  Chunk *c = static_cast<Chunk *>(MapZeroed(HEADER + size));
#endif
  c->next = chunks;
  c->size = size;
  chunks = c;
  held += HEADER + size;
  char *data = reinterpret_cast<char *>(c) + HEADER;
  POISON(data, size);
  return data;
}

}  // namespace

void *PoolAlloc(size_t size) {
  size = Round(size);
  if (size <= CLASS_MAX) {
    if (FreeBlock *b = freeList[size / ALIGN]) {
      UNPOISON(b, size);
      freeList[size / ALIGN] = b->next;
      memset(b, 0, size);
      return b;
    }
  }
  if (size > CHUNK_SIZE / 4) {   // a chunk of its own
    void *p = ChunkNew(size);
    UNPOISON(p, size);
    return p;
  }
  if (static_cast<size_t>(limit - cursor) < size) {
    cursor = static_cast<char *>(ChunkNew(CHUNK_SIZE));
    limit = cursor + CHUNK_SIZE;
  }
  void *p = cursor;
  cursor += size;
  assert(cursor <= limit);
  UNPOISON(p, size);
  return p;
}

void PoolFree(void *p, size_t size) {
  if (!p) return;
  size = Round(size);
#ifdef POOL_ASAN
  POISON(p, size);   // never handed out again: a use after free is caught
#else
  if (size > CLASS_MAX) return;
  FreeBlock *b = static_cast<FreeBlock *>(p);
  b->next = freeList[size / ALIGN];
  freeList[size / ALIGN] = b;
#endif
}

void PoolRelease() {
  while (chunks) {
    Chunk *next = chunks->next;
#ifdef POOL_ASAN
    UNPOISON(reinterpret_cast<char *>(chunks) + HEADER, chunks->size);
    free(chunks);
#else
    munmap(chunks, HEADER + chunks->size);
#endif
    chunks = next;
  }
  cursor = limit = nullptr;
  memset(freeList, 0, sizeof freeList);
  held = 0;
}

size_t PoolBytes() { return held; }
