#include "PolylibWrapper.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <iostream>
#include <string>

#include "Rank.h"
#include "Stop.h"
#include "ValueOutOfRange.h"
// Last: PolyLib's macros must not reach the headers above.
#include "PolylibWrapperPrivate.h"

namespace {

typedef std::vector<std::vector<int>> IntRows;

// Every PolyLib call that bounds its working space gets this many rays; in
// PolyLib it is an initial size, not a limit.
const unsigned MAX_RAYS = 200;

int full_width() { return get_nb_counters() + get_nb_parameters() + 2; }

// Runs `call` (PolyLib calls only) under PolyLib's CATCH: PolyLib throws its
// exception on an overflow of its 64-bit values, and without a CATCH waiting
// for it, it aborts the process. The exception comes back by longjmp, past
// every frame below this one, so `call` must own no C++ object; it becomes a
// PolylibOverflow naming `what`. PolyLib frees its own work on the way.
template <typename Call>
void guarded(const char* what, Call call) {
  bool thrown = false;
  CATCH(any_exception_error) { thrown = true; }
  TRY {
    call();
    UNCATCH(any_exception_error);
  }
  if (thrown) throw PolylibOverflow(what);
}

// A PolyLib matrix freed when its owner goes, also on a PolylibOverflow.
struct MatrixFree {
  void operator()(Matrix* m) const { Matrix_Free(m); }
};
typedef std::unique_ptr<Matrix, MatrixFree> OwnedMatrix;

// Generators in PolyLib's own 64-bit values: those of int constraints may
// exceed an int (a vertex's coordinates are quotients of determinants).
typedef std::vector<std::vector<long long>> WideRows;

// Every row is checked, not only the first: a longer row would be written
// past the end of its PolyLib row.
template <typename Rows>
Matrix* to_polylib(const Rows& m, int width) {
  for (const auto& row : m)
    if (static_cast<int>(row.size()) != width) stop(std::cerr, "PolylibWrapper::matrix lines are not consistent");
  Matrix* r = Matrix_Alloc(m.size(), width);
  for (size_t i = 0; i < m.size(); ++i)
    for (int j = 0; j < width; ++j) value_set_si(r->p[i][j], m[i][j]);
  return r;
}

// The polyhedron of a constraint matrix; the matrix is freed.
Polyhedron* polyhedron_of(Matrix* constraints) {
  OwnedMatrix owned(constraints);
  Polyhedron* p = nullptr;
  guarded("Constraints2Polyhedron", [&] { p = Constraints2Polyhedron(constraints, MAX_RAYS); });
  return p;
}

// The constraints of a polyhedron as integer rows; the polyhedron is kept.
IntRows constraints_of(Polyhedron* p) {
  Matrix* c = Polyhedron2Constraints(p);
  IntRows r = to_vec_vec(c);
  Matrix_Free(c);
  return r;
}

// The generators of a polyhedron: [marker | coordinates | denominator],
// marker 0 for a line, denominator 0 for a ray; the polyhedron is kept.
WideRows generators_of(Polyhedron* p) {
  OwnedMatrix g(Polyhedron2Rays(p));
  WideRows r(g->NbRows, std::vector<long long>(g->NbColumns));
  for (unsigned i = 0; i < g->NbRows; ++i)
    for (unsigned j = 0; j < g->NbColumns; ++j) r[i][j] = g->p[i][j];
  return r;
}

// The constraints of the polyhedron that the generator rows g span.
IntRows constraints_of_generators(const WideRows& g, int width) {
  OwnedMatrix rays(to_polylib(g, width));
  Polyhedron* p = nullptr;
  guarded("Rays2Polyhedron", [&] { p = Rays2Polyhedron(rays.get(), MAX_RAYS); });
  rays.reset();
  IntRows r = constraints_of(p);
  Polyhedron_Free(p);
  return r;
}

// A generator reduced to [marker | kept counters ascending | parameters |
// denominator]; with mirror, the kept counters' entries are negated.
std::vector<long long> keep_counters(const std::vector<long long>& g, const std::set<int>& kept, int nb_counters,
                                     bool mirror) {
  std::vector<long long> r{g[0]};
  for (int c : kept) r.push_back(mirror ? -g[1 + c] : g[1 + c]);
  r.insert(r.end(), g.begin() + 1 + nb_counters, g.end());
  return r;
}

// A projected constraint [flag | kept counters | rest] widened back to
// nb_counters counter columns, zero for the dropped ones.
std::vector<int> widen_counters(const std::vector<int>& row, const std::set<int>& kept, int nb_counters) {
  std::vector<int> r{row[0]};
  size_t next = 1;
  for (int c = 0; c < nb_counters; ++c) r.push_back(kept.count(c) ? row[next++] : 0);
  r.insert(r.end(), row.begin() + next, row.end());
  return r;
}

void check_counters(const std::set<int>& counters, int nb_counters) {
  for (int c : counters)
    if (c < 0 || c >= nb_counters) stop(std::cerr, "PolylibWrapper::project: counter out of range");
}

// Projection shared by project and project_and_symetrize: m is read at the
// given counts, its generators keep only the given counters (and, with
// mirror, come twice, once mirrored), and the answer is widened back.
IntRows project_generators(const IntRows& m, const std::set<int>& counters, int nb_counters, int nb_parameters,
                           bool mirror) {
  check_counters(counters, nb_counters);
  Polyhedron* p = polyhedron_of(from_vec_vec(m, nb_counters, nb_parameters));
  WideRows generators = generators_of(p);
  Polyhedron_Free(p);
  WideRows kept;
  for (const auto& g : generators) {
    kept.push_back(keep_counters(g, counters, nb_counters, false));
    if (mirror) kept.push_back(keep_counters(g, counters, nb_counters, true));
  }
  int width = nb_counters + nb_parameters + 2 - (nb_counters - static_cast<int>(counters.size()));
  IntRows projected = constraints_of_generators(kept, width);
  IntRows r;
  for (const auto& row : projected) r.push_back(widen_counters(row, counters, nb_counters));
  return r;
}

// The generators of m (full width) whose denominator column holds `last`.
IntRows generators_ending_with(const IntRows& m, int last) {
  Polyhedron* p = polyhedron_of(from_vec_vec(m));
  WideRows generators = generators_of(p);
  Polyhedron_Free(p);
  if (!generators.empty() && static_cast<int>(generators[0].size()) != full_width())
    stop(std::cerr, "PolylibWrapper::get_vertices: wrong ray matrix");
  IntRows r;
  for (const auto& g : generators) {
    if (g.back() != last) continue;
    r.emplace_back();
    for (auto x = g.begin() + 1; x != g.end() - 1; ++x) r.back().push_back(checked_int(*x));
  }
  return r;
}

// A fresh PolyLib copy of a square or rectangular integer matrix; every row
// must be as long as the first.
Matrix* raw_copy(const IntRows& a) { return to_polylib(a, a[0].size()); }

// An exact fraction n / d, d > 0, wide enough for products of extents.
struct Fraction {
  __int128 n;
  __int128 d;
};

__int128 gcd128(__int128 a, __int128 b) {
  if (a < 0) a = -a;
  while (b != 0) {
    __int128 r = a % b;
    a = b;
    b = r;
  }
  return a == 0 ? 1 : a;
}

Fraction reduced(__int128 n, __int128 d) {
  if (d < 0) {
    n = -n;
    d = -d;
  }
  __int128 g = gcd128(n, d);
  return Fraction{n / g, d / g};
}

bool less(const Fraction& a, const Fraction& b) { return a.n * b.d < b.n * a.d; }

IntRows take(Matrix* m) {
  OwnedMatrix owned(m);  // freed also when a value beyond int throws
  return to_vec_vec(m);
}

// ---- answers of a child process ----
// A child writes its answer as a sequence of 64-bit words; the readers below
// take them back in the same order.

typedef std::vector<long long> Words;

void put_rows(Words& w, const IntRows& m) {
  w.push_back(m.size());
  w.push_back(m.empty() ? 0 : m[0].size());
  for (const auto& row : m) w.insert(w.end(), row.begin(), row.end());
}

IntRows get_rows(const Words& w, size_t& at) {
  size_t nb_rows = w.at(at++), nb_columns = w.at(at++);
  IntRows m(nb_rows, std::vector<int>(nb_columns));
  for (auto& row : m)
    for (int& x : row) x = w.at(at++);
  return m;
}

void put_evalue(Words& w, const evalue* e) {
  w.push_back(e->d);
  if (e->d != 0) {
    w.push_back(e->x.n);
    return;
  }
  const enode* n = e->x.p;
  w.push_back(n->type == polynomial ? YEB_polynomial : n->type == periodic ? YEB_periodic : YEB_evector);
  w.push_back(n->size);
  w.push_back(n->pos);
  for (int i = 0; i < n->size; ++i) put_evalue(w, &n->arr[i]);
}

YEB_evalue* get_evalue(const Words& w, size_t& at) {
  YEB_evalue* r = static_cast<YEB_evalue*>(std::malloc(sizeof(YEB_evalue)));
  r->d = w.at(at++);
  if (r->d != 0) {
    r->x.n = w.at(at++);
    return r;
  }
  YEB_enode* n = static_cast<YEB_enode*>(std::malloc(sizeof(YEB_enode)));
  n->type = static_cast<YEB_enode_type>(w.at(at++));
  n->size = w.at(at++);
  n->pos = w.at(at++);
  n->arr = static_cast<YEB_evalue**>(std::malloc(n->size * sizeof(YEB_evalue*)));
  for (int i = 0; i < n->size; ++i) n->arr[i] = get_evalue(w, at);
  r->x.p = n;
  return r;
}

bool write_all(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

// Runs `body` in a child process and hands back the words it produced;
// false when the child did not end normally (PolyLib's assertions abort its
// process) or could not be started. The child's standard streams go to
// /dev/null: PolyLib's own messages must not mix with the run's output.
bool run_isolated(const std::function<void(Words&)>& body, Words& answer) {
  int channel[2];
  if (pipe(channel) != 0) return false;
  pid_t child = fork();
  if (child < 0) {
    close(channel[0]);
    close(channel[1]);
    return false;
  }
  if (child == 0) {
    close(channel[0]);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    Words w;
    body(w);
    // _exit: the parent's buffered output must not be written twice.
    _exit(write_all(channel[1], reinterpret_cast<const char*>(w.data()), w.size() * sizeof(long long)) ? 0 : 1);
  }
  close(channel[1]);
  std::string bytes;
  char buffer[1 << 16];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    bytes.append(buffer, got);
  }
  close(channel[0]);
  int status = 0;
  pid_t waited;
  while ((waited = waitpid(child, &status, 0)) < 0 && errno == EINTR) {
  }
  if (waited != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || bytes.size() % sizeof(long long) != 0)
    return false;
  answer.resize(bytes.size() / sizeof(long long));
  if (!bytes.empty()) std::memcpy(answer.data(), bytes.data(), bytes.size());
  return true;
}

// The counting of m, in the child: per piece, its validity domain and its
// quasi-polynomial.
void enumerate(const IntRows& m, int nb_active_counters, Words& w) {
  Polyhedron* p = polyhedron_of(from_vec_vec(m, nb_active_counters));
  Polyhedron* context = Universe_Polyhedron(get_nb_parameters());
  Enumeration* e = Polyhedron_Enumerate(p, context, MAX_RAYS, nullptr);
  for (Enumeration* piece = e; piece; piece = piece->next) {
    put_rows(w, constraints_of(piece->ValidityDomain));
    put_evalue(w, &piece->EP);
  }
}

// The equalities of m, then its chambers, each with its vertices, in the
// child.
void chambers_and_vertices(const IntRows& m, int nb_active_counters, Words& w) {
  Polyhedron* p = polyhedron_of(from_vec_vec(m, nb_active_counters));
  IntRows equalities = constraints_of(p);
  equalities.resize(p->NbEq);
  put_rows(w, equalities);
  Polyhedron* context = Universe_Polyhedron(get_nb_parameters());
  Param_Polyhedron* pp = Polyhedron2Param_Domain(p, context, MAX_RAYS);
  for (Param_Domain* d = pp ? pp->D : nullptr; d; d = d->next) {
    put_rows(w, constraints_of(d->Domain));
    std::vector<IntRows> vertices;
    Param_Vertices* v;
    FORALL_PVertex_in_ParamPolyhedron(v, d, pp) vertices.push_back(to_vec_vec(v->Vertex));
    END_FORALL_PVertex_in_ParamPolyhedron
    w.push_back(vertices.size());
    for (const IntRows& vertex : vertices) put_rows(w, vertex);
  }
}

}  // namespace

// ---- conversions ----

Matrix* from_vec_vec(const IntRows& m) { return to_polylib(m, full_width()); }

Matrix* from_vec_vec(const IntRows& m, int nb_counters, int nb_parameters) {
  return to_polylib(m, nb_counters + nb_parameters + 2);
}

Matrix* from_vec_vec(const IntRows& m, int nb_active_counters) {
  return to_polylib(m, nb_active_counters + get_nb_parameters() + 2);
}

Matrix* from_vec_vec_raw(const IntRows& m) {
  if (m.empty()) stop(std::cout, "PolylibWrapper: from_vec_vec_raw: empty polyhedron");
  return to_polylib(m, m[0].size());
}

IntRows to_vec_vec(const Matrix* m) {
  IntRows r(m->NbRows, std::vector<int>(m->NbColumns));
  for (unsigned i = 0; i < m->NbRows; ++i)
    for (unsigned j = 0; j < m->NbColumns; ++j) r[i][j] = get_int(m->p[i][j]);
  return r;
}

int** to_int_array(const IntRows& m) {
  int** a = static_cast<int**>(std::malloc(m.size() * sizeof(int*)));
  for (size_t i = 0; i < m.size(); ++i) {
    a[i] = static_cast<int*>(std::malloc(m[i].size() * sizeof(int)));
    for (size_t j = 0; j < m[i].size(); ++j) a[i][j] = m[i][j];
  }
  return a;
}

int get_int(long value) { return checked_int(value); }

YEB_evalue* yebify_evalue(const evalue* e) {
  YEB_evalue* r = static_cast<YEB_evalue*>(std::malloc(sizeof(YEB_evalue)));
  r->d = e->d;
  if (e->d != 0)
    r->x.n = e->x.n;
  else
    r->x.p = yebify_enode(e->x.p);
  return r;
}

YEB_enode* yebify_enode(const enode* n) {
  YEB_enode* r = static_cast<YEB_enode*>(std::malloc(sizeof(YEB_enode)));
  r->type = n->type == polynomial ? YEB_polynomial : n->type == periodic ? YEB_periodic : YEB_evector;
  r->size = n->size;
  r->pos = n->pos;
  r->arr = static_cast<YEB_evalue**>(std::malloc(n->size * sizeof(YEB_evalue*)));
  for (int i = 0; i < n->size; ++i) r->arr[i] = yebify_evalue(&n->arr[i]);
  return r;
}

void free_enode(YEB_enode* n) {
  if (n == nullptr) return;
  for (int i = 0; i < n->size; ++i) free_evalue(n->arr[i]);
  std::free(n->arr);
  std::free(n);
}

void free_evalue(YEB_evalue* e) {
  if (e == nullptr) return;
  if (e->d == 0) free_enode(e->x.p);
  std::free(e);
}

YEB_evalue* copy_evalue(const YEB_evalue* e) {
  YEB_evalue* r = static_cast<YEB_evalue*>(std::malloc(sizeof(YEB_evalue)));
  *r = *e;
  if (e->d != 0) return r;
  YEB_enode* n = static_cast<YEB_enode*>(std::malloc(sizeof(YEB_enode)));
  *n = *e->x.p;
  n->arr = static_cast<YEB_evalue**>(std::malloc(n->size * sizeof(YEB_evalue*)));
  for (int i = 0; i < n->size; ++i) n->arr[i] = copy_evalue(e->x.p->arr[i]);
  r->x.p = n;
  return r;
}

void free_enumeration(YEB_Enumeration* e) {
  while (e != nullptr) {
    YEB_Enumeration* next = e->next;
    for (int i = 0; i < e->nb_row; ++i) std::free(e->ValidityDomain[i]);
    std::free(e->ValidityDomain);
    free_evalue(e->EP);
    std::free(e);
    e = next;
  }
}

void print_enumeration(Enumeration* e, const char** names) {
  for (; e; e = e->next) {
    std::printf("Domain:\n");
    Polyhedron_Print(stdout, "%4ld ", e->ValidityDomain);
    std::printf("\nErhart Polynomial:\n");
    print_evalue(stdout, &e->EP, names);
    std::printf("\n------------------------\n\n");
  }
  std::fflush(stdout);
}

// ---- PolylibWrapper ----

IntRows PolylibWrapper::project(IntRows m, std::set<int> counters) {
  return project_generators(m, counters, get_nb_counters(), get_nb_parameters(), false);
}

IntRows PolylibWrapper::project_and_symetrize(IntRows m, std::set<int> counters, int nb_counters,
                                              int nb_parameters) {
  return project_generators(m, counters, nb_counters, nb_parameters, true);
}

IntRows PolylibWrapper::symetrize(IntRows m, int nb_counters, int nb_parameters) {
  Polyhedron* p = polyhedron_of(from_vec_vec(m, nb_counters, nb_parameters));
  WideRows generators = generators_of(p);
  Polyhedron_Free(p);
  WideRows both;
  for (auto g : generators) {
    both.push_back(g);
    for (int c = 1; c <= nb_counters; ++c) g[c] = -g[c];
    both.push_back(g);
  }
  return constraints_of_generators(both, nb_counters + nb_parameters + 2);
}

IntRows PolylibWrapper::convex_hull(std::list<IntRows> members) {
  Polyhedron* domain = Empty_Polyhedron(get_nb_counters() + get_nb_parameters());
  for (const auto& m : members) {
    Polyhedron* p = polyhedron_of(from_vec_vec(m));
    guarded("AddPolyToDomain", [&] { domain = AddPolyToDomain(p, domain); });
  }
  Polyhedron* hull = nullptr;
  guarded("DomainConvex", [&] { hull = DomainConvex(domain, MAX_RAYS); });
  IntRows r = constraints_of(hull);
  Polyhedron_Free(hull);
  Domain_Free(domain);
  return r;
}

IntRows PolylibWrapper::get_rays_non_parametrized(IntRows m) { return generators_ending_with(m, 0); }

IntRows PolylibWrapper::get_vertices_non_parametrized(IntRows m) { return generators_ending_with(m, 1); }

std::vector<std::pair<IntRows, IntRows>> PolylibWrapper::get_vertices(IntRows m, int nb_parameters) {
  Polyhedron* p = polyhedron_of(from_vec_vec_raw(m));
  Polyhedron* context = Universe_Polyhedron(nb_parameters);
  Param_Polyhedron* pp = nullptr;
  guarded("Polyhedron2Param_Vertices", [&] { pp = Polyhedron2Param_Vertices(p, context, MAX_RAYS); });
  std::vector<std::pair<IntRows, IntRows>> r;
  for (Param_Vertices* v = pp ? pp->V : nullptr; v; v = v->next)
    r.emplace_back(to_vec_vec(v->Vertex), to_vec_vec(v->Domain));
  if (pp) Param_Polyhedron_Free(pp);
  Polyhedron_Free(context);
  Polyhedron_Free(p);
  return r;
}

IntRows PolylibWrapper::simplify(IntRows m) {
  Polyhedron* p = polyhedron_of(from_vec_vec(m));
  IntRows r = constraints_of(p);
  Polyhedron_Free(p);
  return r;
}

// The child leaves its PolyLib objects to the end of its process.
YEB_Enumeration* PolylibWrapper::volume(IntRows m, int nb_active_counters) {
  Matrix_Free(from_vec_vec(m, nb_active_counters));  // a bad width stops here, not in the child
  Words w;
  if (!run_isolated([&](Words& out) { enumerate(m, nb_active_counters, out); }, w)) return nullptr;
  YEB_Enumeration* first = nullptr;
  YEB_Enumeration** tail = &first;
  for (size_t at = 0; at < w.size(); tail = &(*tail)->next) {
    IntRows domain = get_rows(w, at);
    YEB_Enumeration* cell = static_cast<YEB_Enumeration*>(std::malloc(sizeof(YEB_Enumeration)));
    cell->ValidityDomain = to_int_array(domain);
    cell->nb_row = static_cast<int>(domain.size());
    cell->nb_col = domain.empty() ? 0 : static_cast<int>(domain[0].size());
    cell->EP = get_evalue(w, at);
    cell->next = nullptr;
    *tail = cell;
  }
  return first;
}

PolylibWrapper::ParametricDomains PolylibWrapper::parametric_domains(IntRows m, int nb_active_counters) {
  Matrix_Free(from_vec_vec(m, nb_active_counters));
  ParametricDomains r;
  Words w;
  if (!run_isolated([&](Words& out) { chambers_and_vertices(m, nb_active_counters, out); }, w)) return r;
  size_t at = 0;
  r.equalities = get_rows(w, at);
  while (at < w.size()) {
    r.chambers.push_back(get_rows(w, at));
    r.vertices.emplace_back();
    for (long long k = w.at(at++); k > 0; --k) r.vertices.back().push_back(get_rows(w, at));
  }
  r.computed = true;
  return r;
}

std::vector<IntRows> PolylibWrapper::subtract(IntRows p1, IntRows p2, int nb_active_counters) {
  Polyhedron* a = polyhedron_of(from_vec_vec(p1, nb_active_counters));
  Polyhedron* b = polyhedron_of(from_vec_vec(p2, nb_active_counters));
  Polyhedron* difference = nullptr;
  guarded("DomainDifference", [&] { difference = DomainDifference(a, b, MAX_RAYS); });
  std::vector<IntRows> r;
  for (Polyhedron* piece = difference; piece; piece = piece->next) r.push_back(constraints_of(piece));
  Domain_Free(difference);
  Polyhedron_Free(b);
  Polyhedron_Free(a);
  return r;
}

std::vector<IntRows> PolylibWrapper::snf(IntRows a) {
  if (a.empty()) stop(std::cout, "PolylibWrapper: snf:  empty matrix");
  OwnedMatrix m(raw_copy(a));
  Matrix *u = nullptr, *v = nullptr, *d = nullptr;
  guarded("Smith", [&] { Smith(m.get(), &u, &v, &d); });
  OwnedMatrix owned_u(u), owned_v(v), owned_d(d);
  return {take(owned_u.release()), take(owned_d.release()), take(owned_v.release())};
}

std::vector<IntRows> PolylibWrapper::hnf(IntRows a) {
  if (a.empty()) stop(std::cout, "PolylibWrapper: hnf:  empty matrix");
  OwnedMatrix m(raw_copy(a));
  Matrix *h = nullptr, *u_inv = nullptr, *u = nullptr;
  guarded("left_hermite", [&] { left_hermite(m.get(), &h, &u_inv, &u); });
  return {take(h), take(u), take(u_inv)};
}

IntRows PolylibWrapper::inv(IntRows a) {
  if (a.empty()) stop(std::cerr, "PolylibWrapper::inv: empty matrix");
  if (a.size() != a[0].size()) stop(std::cerr, "PolylibWrapper::inv: expect square matrices");
  // Matrix_Inverse turns its argument diagonal, so it gets a copy of its own,
  // and its output must be exactly n x n.
  OwnedMatrix m(raw_copy(a));
  OwnedMatrix inverse(Matrix_Alloc(a.size(), a.size()));
  int ok = 0;
  guarded("Matrix_Inverse", [&] { ok = Matrix_Inverse(m.get(), inverse.get()); });
  if (!ok) stop(std::cerr, "PolylibWrapper::inv: non-invertible matrix");
  return take(inverse.release());
}

int PolylibWrapper::dim(IntRows m) {
  Polyhedron* p = polyhedron_of(from_vec_vec(m));
  Matrix* constraints = Polyhedron2Constraints(p);
  unsigned nb_equalities = p->NbEq;
  Polyhedron_Free(p);
  Matrix* equalities = Matrix_Alloc(nb_equalities, constraints->NbColumns);
  for (unsigned i = 0; i < equalities->NbRows; ++i)
    for (unsigned j = 0; j < constraints->NbColumns; ++j)
      value_assign(equalities->p[i][j], constraints->p[i][j]);
  // Gauss walks columns 1 to its Dimension argument: the homogeneous
  // dimension (variables and constant), one less than the row width.
  int rank = 0;
  if (equalities->NbRows != 0)
    guarded("Gauss", [&] { rank = Gauss(equalities, equalities->NbRows, constraints->NbColumns - 1); });
  Matrix_Free(equalities);
  Matrix_Free(constraints);
  return get_nb_counters() - rank;
}

int PolylibWrapper::bounding_box_volume(IntRows m) {
  if (m.empty() || m[0].empty()) return 0;
  Polyhedron* p = polyhedron_of(from_vec_vec_raw(m));
  WideRows generators = generators_of(p);
  Polyhedron_Free(p);
  if (generators.empty()) return 0;
  int width = static_cast<int>(generators[0].size());
  // A vertex's coordinates are its entries over its denominator: compared
  // and subtracted as exact fractions, never read as raw numerators.
  std::vector<Fraction> low, high;
  for (const auto& g : generators) {
    if (g[0] == 0 || g.back() == 0) stop(std::cerr, "PolylibWrapper::bounding_box_volume: unbounded polyhedron");
    for (int j = 1; j < width - 1; ++j) {
      Fraction x = reduced(g[j], g.back());
      if (low.size() < static_cast<size_t>(j)) {
        low.push_back(x);
        high.push_back(x);
      }
      if (less(x, low[j - 1])) low[j - 1] = x;
      if (less(high[j - 1], x)) high[j - 1] = x;
    }
  }
  Fraction volume{1, 1};
  for (size_t j = 0; j < low.size(); ++j) {
    Fraction extent = reduced(high[j].n * low[j].d - low[j].n * high[j].d, high[j].d * low[j].d);
    if (extent.n != 0) volume = reduced(volume.n * extent.n, volume.d * extent.d);
  }
  __int128 truncated = volume.n / volume.d;
  return get_int(truncated > LONG_MAX ? LONG_MAX : static_cast<long>(truncated));
}
