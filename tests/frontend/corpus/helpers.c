/* Declarations of every form and small helper functions. */
#include <stdio.h>
#include <string.h>

typedef double real;
typedef unsigned long size_type, *size_ptr;

extern int N;
static const int M = 10;
int a, b = 2, *p, **pp, q[4];
real x = 1.5e-3, y = 2.0f, z = 0x10;
unsigned int mask = 0777u;
long big = 10L;
char name[16] = "tarvex";
const char *msg = "line\n" "tab\t" "quote\"";
int v[3] = {1, 2, 3};
double grid[2][3] = {{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}};
char c = '\n', d = '\'';
volatile int ticks;
int *restrict rp;
struct timeval start;

int count(const char *s, char c);
static void fill(real *dst, int n, real value);
void report(int, double *, ...);

static void fill(real *dst, int n, real value)
{
  for (int a = 0, b = n - 1; a <= b; a++, b--) {
    dst[a] = value;
    dst[b] = value;
  }
}

int count(const char *s, char c)
{
  int n = 0;
  for (; *s; s++)
    if (*s == c)
      ++n;
  return n;
}

void show(size_type n)
{
  real T = 0;
  T * n;
  {
    int real = 3;
    real * n;
  }
  printf("%lu items: \"%s\"\t%d\n", n, name, count(name, 'a'));
  printf("%zu\n", sizeof(real) + sizeof x + sizeof(int *));
}
