// stderr: incomplete_block.c:12: error: a directive that no statement of the part follows: #pragma tile_size[4]
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
  }
#pragma end_scop
}
