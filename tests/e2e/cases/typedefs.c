// Types named by typedef, at file scope and in the kernel: the tiled code
// declares them with the variables, and a counter or a size declared
// through one is read as the type it stands for, also when the typedef
// is repeated over itself, directly or through another name.
// params: N
// arrays: A B
// values: 0 | 3 | 9
typedef double real;
typedef int idx;
typedef long wide;
typedef idx count;
typedef count idx;
typedef count count;
count N;
real A[10];
wide B[10];
void kernel() {
  typedef real value;
  idx i;
  wide j;
  value t;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    t = A[i] * 2;
#pragma schedule[i][1]
    A[i] = t + 1;
  }
  for (j = 0; j < N; j++) {
#pragma schedule[N + j][0]
    B[j] = j * 3000000000;
  }
#pragma end_scop
}
