// The original kernels and their tiled versions written by tarvex, each in
// a namespace of its own. The standard headers the tiled files include are
// included here first, so that their guards keep them out of the
// namespaces.

#include "tarvex_kernels.h"

#include <math.h>
#include <stdio.h>

#include <iostream>

namespace matmul_untiled_code {
#include "zil_matmul.c"
}
namespace matmul_tiled_code {
int block_size = 1;
#include "zil_matmul.tiled.cc"
}
namespace jacobi_untiled_code {
#include "zil_jacobi.c"
}
namespace jacobi_tiled_code {
int block_size = 1;
#include "zil_jacobi.tiled.cc"
}

namespace bench_kernels {

namespace {

template <class T, int n>
void fill(T (&a)[n][n], int size, int seed) {
  for (int i = 0; i < size; i++)
    for (int j = 0; j < size; j++) a[i][j] = static_cast<double>((i * 7 + j * 13 + seed) % 17) / 17.0;
}

}  // namespace

void matmul_setup(int n) {
  matmul_untiled_code::N = matmul_tiled_code::N = n;
  fill(matmul_untiled_code::A, n, 1);
  fill(matmul_untiled_code::B, n, 2);
  fill(matmul_tiled_code::A, n, 1);
  fill(matmul_tiled_code::B, n, 2);
}

void matmul_untiled() { matmul_untiled_code::kernel(); }

void matmul_tiled(int block_size) {
  matmul_tiled_code::block_size = block_size;
  matmul_tiled_code::tiled_kernel();
}

void jacobi_setup(int n) {
  jacobi_untiled_code::N = jacobi_tiled_code::N = n;
  fill(jacobi_untiled_code::A, n, 3);
  fill(jacobi_tiled_code::A, n, 3);
}

void jacobi_untiled() { jacobi_untiled_code::kernel(); }

void jacobi_tiled(int block_size) {
  jacobi_tiled_code::block_size = block_size;
  jacobi_tiled_code::tiled_kernel();
}

}  // namespace bench_kernels
