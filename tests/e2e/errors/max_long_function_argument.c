// stdout: Program::from_Sage: max with an argument that is not an int, which the tiled code's function would not convert: max(lengthen(i), (idx_t)B[i])
typedef int idx_t;
int N;
int A[100];
int B[100];
int twice(int x) { return 2 * x; }
long lengthen(int x) { return 3000000000L * x; }

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = min(twice(i), 3) + max(lengthen(i), (idx_t)B[i]);
  }
#pragma end_scop
}
