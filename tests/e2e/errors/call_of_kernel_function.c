// stdout: Program::from_Sage: the tiled code would call kernel2, which holds a static control part: tiled_kernel() keeps only the parts of such a function: void kernel2()
// The statement calls step, which calls kernel2: neither can be carried
// whole, since tiled_kernel() runs kernel2's part on its own.
int N;
int a[10];

void kernel2() {
  int j;
#pragma begin_scop
  for (j = 0; j < N; j++) {
#pragma schedule[j]
    a[j] = a[j] + 1;
  }
#pragma end_scop
}

int step(int x) {
  kernel2();
  return x + 1;
}

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    a[i] = step(a[i]);
  }
#pragma end_scop
}
