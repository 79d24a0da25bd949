// The pool of the records of a run: terms, formulas, statements, procedures,
// assumptions and sequents come from large blocks handed out in order, and
// are released together when the lists of the run are emptied or at exit.
#pragma once
#include <cstddef>

// A zero-filled block of size bytes.
void *PoolAlloc(size_t size);
// Gives a block of that size back for reuse (a null p is ignored). In the
// sanitizer build it is poisoned and never handed out again.
void PoolFree(void *p, size_t size);
// Releases every block at once: nothing allocated before may be used after.
// The released storage is poisoned in the sanitizer build.
void PoolRelease();
// Bytes held in blocks (for tests and the benchmark).
size_t PoolBytes();
