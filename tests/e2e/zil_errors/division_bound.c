// stderr: Tiling::apply: statement #0: an integer division in a loop bound or condition cannot be tiled parametrically
int N;
int a[100];

void kernel() {
  int i;
#pragma begin_scop
  for (i = -3; i < (N - 4) / 2; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    a[i + 3] = a[i + 3] + 1;
  }
#pragma end_scop
}
