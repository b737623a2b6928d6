// Functions of the input that the statements call, directly or through
// other functions, and that an initialiser run on entry to the kernel calls:
// the tiled code carries their definitions and the prototype ahead of one,
// static or not, in file order, and leaves out the functions it does not
// call (run calls the kernel, which the tiled code does not keep).
// params: N
// arrays: a b calls
// values: 0 | 1 | 6 | 10
int N;
int a[10];
int b[10];
int calls[10];

static int square(int x) { return x * x; }
int scaled(int x);
int offset(int i) {
  calls[i] = calls[i] + 1;
  return square(i) - scaled(i);
}

void kernel() {
  int i;
  int base = offset(1) + 3;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    a[i] = a[i] + offset(i) * base;
#pragma schedule[i][1]
    b[i] = scaled(b[i]) + a[i];
  }
#pragma end_scop
}

int scaled(int x) {
  int y = 3 * x;
  return y + N;
}

void run() { kernel(); }
