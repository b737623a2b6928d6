// Arguments of min and max that are ints without naming an int variable: a
// call of a function of the input that returns int, and casts to typedefs
// that stand for int, directly or through another typedef. The tiled
// code's functions stand for min and max, as the original's macros do.
// params: N
// arrays: A B
// values: 0 | 1 | 9 | 16
// original_prelude: #define min(x, y) ((x) < (y) ? (x) : (y))
// original_prelude: #define max(x, y) ((x) < (y) ? (y) : (x))
typedef int idx_t;
typedef idx_t count_t;
int N;
int A[16];
int B[16];
int twice(int x) { return 2 * x; }

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = max(twice(i), 3) + min((idx_t)B[i], 3) * max((count_t)A[i], -2);
  }
#pragma end_scop
}
