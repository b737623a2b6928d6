// stderr: Preprocessor::extract_tiling: statement #0: a parametric tiling needs a statement inside a loop
// Tiled on a parameter, a statement inside no loop would run only for some
// values of M, at a place depending on M / block_size.
int M;
int a[10];

void kernel() {
  int i;
#pragma begin_scop
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[M]
#pragma schedule[__T]
  a[0] = 1;
  for (i = 0; i < 10; i++) {
#pragma schedule[1][i]
    a[i] = a[i] + 1;
  }
#pragma end_scop
}
