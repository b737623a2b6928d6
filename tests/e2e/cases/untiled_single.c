// One untiled statement, scheduled in its source order.
// params: N
// arrays: a b
// values: 0 | 1 | 2 | 17 | 32
int N;
int a[32];
int b[32];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    a[i] = a[i] + b[i] * 2;
  }
#pragma end_scop
}
