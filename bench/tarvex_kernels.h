#ifndef TARVEX_BENCH_KERNELS_H
#define TARVEX_BENCH_KERNELS_H

// The benchmarked kernels, original and parametric-tiled, each pair
// compiled with the same flags in its own namespace (the generated files
// define the same global names). Sizes are set before each call; the
// arrays hold up to 512 (matrix multiply) and 1024 (Jacobi) rows.

namespace bench_kernels {

void matmul_setup(int n);
void matmul_untiled();
void matmul_tiled(int block_size);

void jacobi_setup(int n);
void jacobi_untiled();  // one sweep
void jacobi_tiled(int block_size);

}  // namespace bench_kernels

#endif
