// Operands whose C type is int where C++ gives them another: a character
// literal (char in C++) and a comparison or logical operator (bool), read
// by sizeof in a carried function and in a local's initialiser; and a
// string literal that fills a char array without room for its null
// character, which C allows and C++ does not, at file scope and in a
// carried function (an unsigned char array's bytes beyond ASCII as C
// stores them).
// params: N
// arrays: A
// values: 0 | 7 | 13
int N;
double A[20];
char tag[3] = "abc";
unsigned char bytes[2] = "\xff\200";
int h(void) { return sizeof('a') + sizeof(1 < 2) + sizeof(!N); }
int letters(void) {
  char w[2] = "hi";
  return w[0] + w[1];
}

void kernel() {
  int i;
  int width = sizeof('b' || N);
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = A[i] + h() + letters() + tag[2] + bytes[0] + bytes[1] + width;
  }
#pragma end_scop
}
