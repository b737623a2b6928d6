// Contract checks of the tiling library stay active in every build type.
#undef NDEBUG

#include "allocation.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "linAlg.h"

namespace {

[[noreturn]] void outOfMemory() {
  std::fputs("ZIL: out of memory\n", stderr);
  std::exit(1);
}

std::size_t elements(int n) { return n > 0 ? static_cast<std::size_t>(n) : 0; }

// The byte count of count elements of size bytes; one byte for an empty
// request. A product beyond what an object may span is never satisfiable.
std::size_t byteCount(std::size_t count, std::size_t size) {
  if (count == 0 || size == 0) return 1;
  if (count > static_cast<std::size_t>(PTRDIFF_MAX) / size) outOfMemory();
  return count * size;
}

}  // namespace

void *allocArray(std::size_t count, std::size_t size) {
  void *p = std::malloc(byteCount(count, size));
  if (p == NULL) outOfMemory();
  return p;
}

void *allocZeroArray(std::size_t count, std::size_t size) {
  std::size_t bytes = byteCount(count, size);
  void *p = std::calloc(1, bytes);
  if (p == NULL) outOfMemory();
  return p;
}

long long *allocZeroVector(int nElem) {
  return static_cast<long long *>(allocZeroArray(elements(nElem), sizeof(long long)));
}

long long **allocZeroMatrix(int nRow, int nCol) {
  long long **mat = static_cast<long long **>(allocArray(elements(nRow), sizeof(long long *)));
  for (int i = 0; i < nRow; i++) mat[i] = allocZeroVector(nCol);
  return mat;
}

rational64 **allocZeroRationalMatrix(int nRow, int nCol) {
  rational64 **mat = static_cast<rational64 **>(allocArray(elements(nRow), sizeof(rational64 *)));
  for (int i = 0; i < nRow; i++) {
    mat[i] = static_cast<rational64 *>(allocArray(elements(nCol), sizeof(rational64)));
    for (int j = 0; j < nCol; j++) mat[i][j] = toRational(0);
  }
  return mat;
}
