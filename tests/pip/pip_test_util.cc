#include "pip_test_util.h"

#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <sstream>

PipMatrix *make_matrix(unsigned cols, const Rows &rows) {
  PipMatrix *m = pip_matrix_alloc(rows.size(), cols);
  for (size_t i = 0; i < rows.size(); ++i)
    for (unsigned j = 0; j < cols; ++j) m->p[i][j] = rows[i].at(j);
  return m;
}

PipOptions *make_options(int nq, int maximize, int urs_parms, int urs_unknowns,
                         int simplify) {
  PipOptions *o = pip_options_init();
  o->Nq = nq;
  o->Maximize = maximize;
  o->Urs_parms = urs_parms;
  o->Urs_unknowns = urs_unknowns;
  o->Simplify = simplify;
  return o;
}

namespace {

// Runs print into a memory stream and returns the text.
template <typename Print>
std::string capture(Print print) {
  char *buf = nullptr;
  size_t size = 0;
  FILE *out = open_memstream(&buf, &size);
  print(out);
  fclose(out);
  std::string text(buf, size);
  free(buf);
  return text;
}

long long gcd(long long a, long long b) { return std::gcd(a, b); }

Value reduce(__int128 num, __int128 den) {
  if (den < 0) num = -num, den = -den;
  __int128 a = num < 0 ? -num : num, b = den;
  while (b) {
    __int128 t = a % b;
    a = b;
    b = t;
  }
  if (a > 1) num /= a, den /= a;
  return {static_cast<long long>(num), static_cast<long long>(den)};
}

__int128 floor_div(__int128 a, __int128 b) {
  __int128 q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// vector . (point, 1) over the first size entries of point.
Value dot(const PipVector *v, const std::vector<long long> &point) {
  __int128 num = 0, den = 1;
  for (int i = 0; i < v->nb_elements; ++i) {
    long long coef = v->the_vector[i], d = v->the_deno[i];
    __int128 x = i + 1 < v->nb_elements ? point.at(i) : 1;
    num = num * d + coef * x * den;
    den = den * d;
    Value r = reduce(num, den);
    num = r.num;
    den = r.den;
  }
  return reduce(num, den);
}

bool is_marker(const PipVector *v) {
  for (int i = 0; i < v->nb_elements; ++i)
    if (v->the_vector[i] != 0 || v->the_deno[i] != 0) return false;
  return true;
}

}  // namespace

std::string quast_text(PipQuast *quast, int indent) {
  return capture([&](FILE *out) { pip_quast_print(out, quast, indent); });
}

std::string vector_text(PipVector *vector) {
  return capture([&](FILE *out) { pip_vector_print(out, vector); });
}

std::string matrix_text(PipMatrix *matrix) {
  return capture([&](FILE *out) { pip_matrix_print(out, matrix); });
}

std::string solve_text(int np, const Rows &problem, const Rows &context,
                       const PipOptions &options) {
  unsigned width = problem.empty() ? np + 2 : problem[0].size();
  PipMatrix *pb = make_matrix(width, problem);
  PipMatrix *ctx = make_matrix(np + 2, context);
  PipOptions opts = options;
  PipQuast *q = pip_solve(pb, ctx, -1, &opts);
  std::string text = quast_text(q, -1);
  pip_quast_free(q);
  pip_matrix_free(pb);
  pip_matrix_free(ctx);
  return text;
}

Evaluation evaluate(const PipQuast *quast, const std::vector<long long> &params) {
  Evaluation e;
  std::vector<long long> point = params;  // grows by the new parameters
  while (quast) {
    for (const PipNewparm *n = quast->newparm; n; n = n->next) {
      point.resize(n->rank);
      Value v = dot(n->vector, point);
      point.push_back(static_cast<long long>(floor_div(v.num, (__int128)v.den * n->deno)));
    }
    if (quast->condition) {
      Value c = dot(quast->condition, point);
      quast = c.num >= 0 ? quast->next_then : quast->next_else;
      continue;
    }
    if (!quast->list) return e;
    e.nil = false;
    e.leaf = quast;
    for (const PipList *l = quast->list; l; l = l->next) {
      if (!l->vector) {
        e.null_vector_cell = true;
        continue;
      }
      e.values.push_back(is_marker(l->vector) ? Value{0, 0} : dot(l->vector, point));
    }
    return e;
  }
  return e;
}

namespace {

class ShapeChecker {
 public:
  ShapeChecker(int np, int nn, bool integer, int solved)
      : np_(np), nn_(nn), integer_(integer), solved_(solved) {}

  void node(const PipQuast *q, const PipQuast *father, int visible) {
    if (q->father != father) fault("wrong father pointer");
    for (const PipNewparm *n = q->newparm; n; n = n->next) {
      if (!integer_) fault("new parameter in rational mode");
      if (n->rank != np_ + visible) fault("new parameter rank " + std::to_string(n->rank));
      if (n->deno < 1) fault("new parameter denominator < 1");
      vector(n->vector, np_ + visible + 1, true, "new parameter");
      ++visible;
    }
    bool test = q->condition != nullptr;
    if (test) {
      if (q->list || !q->next_then || !q->next_else) fault("malformed test node");
      if (q->next_then && leaves(q->next_then).empty()) fault("then-subtree without leaf");
      vector(q->condition, np_ + visible + 1, true, "condition");
      if (q->next_then) node(q->next_then, q, visible);
      if (q->next_else) node(q->next_else, q, visible);
      return;
    }
    if (q->next_then || q->next_else) fault("subtree below a non-test node");
    if (!q->list) {
      if (q->newparm) fault("new parameter on a Nil node");
      return;
    }
    list(q->list, np_ + visible + 1);
  }

  std::string faults() const { return faults_; }

 private:
  void fault(const std::string &what) { faults_ += what + "\n"; }

  void vector(const PipVector *v, int length, bool integral, const std::string &what) {
    if (!v) return fault(what + ": NULL vector");
    if (v->nb_elements != length)
      fault(what + ": length " + std::to_string(v->nb_elements) + ", expected " +
            std::to_string(length));
    for (int i = 0; i < v->nb_elements; ++i) {
      long long d = v->the_deno[i];
      if ((integral || integer_) && d != 1) fault(what + ": denominator not 1");
      if (d <= 0) fault(what + ": denominator not positive");
      if (d > 0 && gcd(v->the_vector[i], d) != 1) fault(what + ": fraction not reduced");
    }
  }

  void list(const PipList *l, int length) {
    if (nn_ == 0) {
      if (!l || l->vector || l->next) fault("zero-unknown leaf is not one NULL cell");
      return;
    }
    int i = 0;
    for (; l; l = l->next, ++i) {
      if (i < solved_) {
        vector(l->vector, length, false, "value");
        continue;
      }
      if (!l->vector || l->vector->nb_elements != length || !is_marker(l->vector))
        fault("unknown " + std::to_string(i) + " is not marked unbounded");
    }
    if (i != nn_) fault("list of " + std::to_string(i) + " cells");
  }

  int np_, nn_;
  bool integer_;
  int solved_;
  std::string faults_;
};

void collect_leaves(const PipQuast *q, std::vector<const PipQuast *> &out) {
  if (!q) return;
  if (q->list) out.push_back(q);
  collect_leaves(q->next_then, out);
  collect_leaves(q->next_else, out);
}

}  // namespace

std::string shape_violations(const PipQuast *quast, int np, int nn, bool integer,
                             int solved) {
  if (!quast) return "";
  ShapeChecker checker(np, nn, integer, solved);
  checker.node(quast, nullptr, 0);
  return checker.faults();
}

std::vector<const PipQuast *> leaves(const PipQuast *quast) {
  std::vector<const PipQuast *> out;
  collect_leaves(quast, out);
  return out;
}
