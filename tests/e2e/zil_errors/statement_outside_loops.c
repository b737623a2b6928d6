// stderr: Preprocessor::extract_tiling: statement #0: a parametric tiling needs a statement inside a loop
int s;
int a[10];

void kernel() {
  int i;
#pragma begin_scop
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[s]
#pragma schedule[__T]
  s = 1;
  for (i = 0; i < 10; i++) {
#pragma schedule[1][i]
    a[i] = s;
  }
#pragma end_scop
}
