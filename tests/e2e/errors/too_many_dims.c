// stderr: Tiling::compute_constant_tiling_domains: statement #0: more tiled schedule dimensions than hyperplanes
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_size[4]
#pragma tile_hyperplans[i]
#pragma schedule[__T][__T][i]
    a[i] = 0;
  }
#pragma end_scop
}
