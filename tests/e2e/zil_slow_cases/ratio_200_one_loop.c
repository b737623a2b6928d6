// A tile ratio of 200 on one loop: the last tile comes in 200 shapes, one
// per remainder of N / block_size modulo 200. Within the limits of the
// tiling, but their nest exceeds the code generator's budget of work,
// which large coefficients shrink: refused after code generation started.
// stdout: Program::backend_iscc: statement #0: its 201 pieces exceed the code generator's budget of work, even with the full tiles run with the partial ones; tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes
int N;
int a[10];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[200]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    a[i] = a[i] + 1;
  }
#pragma end_scop
}
