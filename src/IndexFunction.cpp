// Index functions: construction, entrywise operations, queries, conversions
// and text forms.

#include "IndexFunction.h"

#include <iostream>

#include "Expression.h"
#include "Rank.h"
#include "Stop.h"

typedef std::vector<std::vector<int>> Rows;

namespace {

std::vector<Expression*> rows_to_entries(const Rows& matrix) {
  std::vector<Expression*> entries;
  for (const std::vector<int>& row : matrix) entries.push_back(new Expression(row));
  return entries;
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction

IndexFunction::IndexFunction() {}

IndexFunction::IndexFunction(std::vector<int> counters, std::vector<Expression*> entries)
    : surrounding_counters(counters), index_mapping(clone_ve(entries)) {}

IndexFunction::IndexFunction(std::vector<Expression*> entries) : index_mapping(clone_ve(entries)) {}

IndexFunction::IndexFunction(std::vector<int> counters) : surrounding_counters(counters) {
  for (int c : counters) index_mapping.push_back(Expression::from_counter_rank(c));
}

IndexFunction::IndexFunction(std::vector<int> counters, std::vector<int> values)
    : surrounding_counters(counters) {
  for (int value : values) index_mapping.push_back(new Expression(value));
}

IndexFunction::IndexFunction(std::vector<int> counters, Rows matrix)
    : surrounding_counters(counters), index_mapping(rows_to_entries(matrix)) {}

IndexFunction::IndexFunction(Rows matrix) : index_mapping(rows_to_entries(matrix)) {}

IndexFunction::IndexFunction(Rows matrix, std::vector<int> counters, std::vector<int> parameters) {
  for (const std::vector<int>& row : matrix)
    index_mapping.push_back(new Expression(row, counters, parameters));
}

IndexFunction::IndexFunction(Rows matrix, std::set<int> counters, std::set<int> parameters) {
  for (const std::vector<int>& row : matrix)
    index_mapping.push_back(new Expression(row, counters, parameters));
}

IndexFunction::~IndexFunction() { del(index_mapping); }

IndexFunction* IndexFunction::null_index(std::vector<int> surround, int dim) {
  return new IndexFunction(surround, std::vector<int>(dim, 0));
}

IndexFunction* IndexFunction::clone() {
  return new IndexFunction(surrounding_counters, index_mapping);
}

void IndexFunction::push_back(Expression* e) { index_mapping.push_back(e->clone()); }

void IndexFunction::push_front(Expression* e) { index_mapping.insert(index_mapping.begin(), e); }

int IndexFunction::size() { return static_cast<int>(index_mapping.size()); }

int IndexFunction::dimension() { return size(); }

void del(std::vector<IndexFunction*> v) {
  for (IndexFunction* f : v) delete f;
}

namespace {

// A new function of dim leaves named id0, id1, ... made by make_leaf.
IndexFunction& named_leaves(const std::string& id, int dim, Expression* (*make_leaf)(std::string)) {
  IndexFunction* f = new IndexFunction();
  for (int k = 0; k < dim; k++) f->index_mapping.push_back(make_leaf(id + std::to_string(k)));
  return *f;
}

}  // namespace

IndexFunction& vari(std::string var_id, int dim) {
  return named_leaves(var_id, dim, static_cast<Expression* (*)(std::string)>(var));
}

IndexFunction& pari(std::string par_id, int dim) { return named_leaves(par_id, dim, par); }

IndexFunction& operator|(Expression& a, Expression& b) {
  IndexFunction* f = new IndexFunction();
  f->push_back(&a);
  f->push_back(&b);
  return *f;
}

IndexFunction& operator&&(Expression& a, Expression& b) { return a | b; }

IndexFunction& operator|(IndexFunction& f, Expression& e) {
  f.push_back(&e);
  return f;
}

IndexFunction& operator&&(IndexFunction& f, Expression& e) { return f | e; }

// ---------------------------------------------------------------------------
// Entrywise operations

namespace {

// A new function over f's counters whose entry i is op(entry i).
template <typename Op>
IndexFunction* entrywise(IndexFunction* f, Op op) {
  IndexFunction* r = new IndexFunction();
  r->surrounding_counters = f->surrounding_counters;
  for (size_t i = 0; i < f->index_mapping.size(); i++)
    r->index_mapping.push_back(op(f->index_mapping[i], i));
  return r;
}

}  // namespace

IndexFunction* IndexFunction::counters_to_counters(std::map<int, int> m) {
  return entrywise(this, [&m](Expression* e, size_t) { return e->counters_to_counters(m); });
}

IndexFunction* IndexFunction::counters_to_parameters(std::map<int, int> m) {
  return entrywise(this, [&m](Expression* e, size_t) { return e->counters_to_parameters(m); });
}

IndexFunction* IndexFunction::parameters_to_counters(std::map<int, int> m) {
  return entrywise(this, [&m](Expression* e, size_t) { return e->parameters_to_counters(m); });
}

IndexFunction* IndexFunction::parameters_to_parameters(std::map<int, int> m) {
  return entrywise(this, [&m](Expression* e, size_t) { return e->parameters_to_parameters(m); });
}

IndexFunction* IndexFunction::substitute_counters(std::map<int, Expression*> m) {
  return entrywise(this, [&m](Expression* e, size_t) { return e->substitute_counters(m); });
}

IndexFunction* IndexFunction::substitute_parameters(std::map<int, Expression*> m) {
  return entrywise(this, [&m](Expression* e, size_t) { return e->substitute_parameters(m); });
}

IndexFunction* IndexFunction::simplify_matrix() {
  // The affine normal form cannot hold a division: such entries stay as
  // they are.
  return entrywise(this, [](Expression* e, size_t) {
    return e->has_div() ? e->clone() : e->simplify_matrix();
  });
}

IndexFunction* IndexFunction::linear_part() {
  return entrywise(this, [](Expression* e, size_t) { return e->linear_part(); });
}

IndexFunction* IndexFunction::add_modulos(std::vector<int> modulo) {
  if (modulo.size() < index_mapping.size())
    stop(std::cerr, "IndexFunction::add_modulos: modulo vector too short");
  return entrywise(this, [&modulo](Expression* e, size_t i) {
    Expression b(modulo[i]);
    return new Expression(MOD, e, &b);
  });
}

IndexFunction* IndexFunction::add_modulos_expr(std::vector<Expression*> modulo_expr) {
  if (modulo_expr.size() < index_mapping.size())
    stop(std::cerr, "IndexFunction::add_modulos: modulo vector too short");
  return entrywise(this, [&modulo_expr](Expression* e, size_t i) {
    return new Expression(MOD, e, modulo_expr[i]);
  });
}

IndexFunction* IndexFunction::remove_constants() {
  IndexFunction* r = new IndexFunction();
  r->surrounding_counters = surrounding_counters;
  for (Expression* e : index_mapping)
    if (!e->is_constant()) r->push_back(e);
  return r;
}

// ---------------------------------------------------------------------------
// Queries

int IndexFunction::is_constant() { return size() == 1 && index_mapping[0]->is_constant(); }

int IndexFunction::is_constant(std::vector<int> counters) {
  for (int position : counters) {
    if (position < 0 || position >= size()) stop(std::cerr, "IndexFunction::is_constant: out of bounds");
    if (!index_mapping[position]->is_constant()) return 0;
  }
  return 1;
}

int IndexFunction::constant() {
  if (!is_constant()) stop(std::cout, "IndexFunction::constant: not a constant");
  return index_mapping[0]->val;
}

int IndexFunction::has_div() {
  for (Expression* e : index_mapping)
    if (e->has_div()) return 1;
  return 0;
}

int IndexFunction::is_null_index() {
  for (Expression* e : index_mapping)
    for (int coefficient : e->to_vector())
      if (coefficient != 0) return 0;
  return 1;
}

Expression* IndexFunction::get_last() {
  if (index_mapping.empty()) stop(std::cout, "IndexFunction::get_last: no entry");
  return index_mapping.back()->clone();
}

// ---------------------------------------------------------------------------
// Conversions

std::map<int, Expression*> IndexFunction::to_mapping() {
  std::map<int, Expression*> m;
  for (int c : surrounding_counters) {
    if (c < 0 || c >= size()) {
      del(m);
      stop(std::cerr, "IndexFunction::to_mapping: rank out of bounds");
    }
    m[c] = index_mapping[c]->clone();
  }
  return m;
}

std::map<int, Expression*> IndexFunction::to_mapping(std::vector<int> output_counters) {
  if (output_counters.size() > index_mapping.size())
    stop(std::cerr, "IndexFunction::to_mapping: rank out of bounds");
  std::map<int, Expression*> m;
  for (size_t i = 0; i < output_counters.size(); i++) {
    // A repeated output keeps its later entry; the earlier clone is freed.
    delete m[output_counters[i]];
    m[output_counters[i]] = index_mapping[i]->clone();
  }
  return m;
}

Rows IndexFunction::to_matrix() {
  Rows m;
  for (Expression* e : index_mapping) m.push_back(e->to_vector());
  return m;
}

Rows IndexFunction::to_matrix(std::vector<int> active_counters, std::vector<int> active_parameters) {
  Rows m;
  for (Expression* e : index_mapping) m.push_back(e->to_vector(active_counters, active_parameters));
  return m;
}

Rows IndexFunction::to_matrix(std::set<int> active_counters, std::set<int> active_parameters) {
  return to_matrix(std::vector<int>(active_counters.begin(), active_counters.end()),
                   std::vector<int>(active_parameters.begin(), active_parameters.end()));
}

Rows IndexFunction::to_matrix_linear(std::vector<int> counters) {
  Rows m;
  for (Expression* e : index_mapping) m.push_back(e->to_vector_linear(counters));
  return m;
}

Rows IndexFunction::to_matrix_cloog() {
  int nb_parameters = get_nb_parameters();
  Rows m;
  for (Expression* e : index_mapping) {
    std::vector<int> v = e->to_vector();
    std::vector<int> row;
    for (int c : surrounding_counters) row.push_back(v[c]);
    // The code generator takes the parameters from elsewhere: their columns
    // are written as zeros.
    row.insert(row.end(), nb_parameters, 0);
    row.push_back(v.back());
    m.push_back(row);
  }
  return m;
}

// ---------------------------------------------------------------------------
// Text forms

void IndexFunction::print_code(std::ostream& sout) {
  for (size_t i = 0; i < index_mapping.size(); i++) sout << (i ? "," : "") << *index_mapping[i];
}

void IndexFunction::print_code(std::ostream& sout, int max_dim) {
  print_code(sout);
  for (int position = size(); position < max_dim; position++) sout << (position ? ",0" : "0");
}

std::ostream& operator<<(std::ostream& os, IndexFunction& f) {
  for (Expression* e : f.index_mapping) os << "[" << *e << "]";
  return os;
}

void IndexFunction::print() {
  std::cerr << "function ";
  for (int c : surrounding_counters) std::cerr << "i" << c << " ";
  std::cerr << " -> " << std::endl << "/" << std::endl;
  for (Expression* e : index_mapping) {
    std::cerr << "| ";
    e->print();
    std::cerr << std::endl;
  }
  std::cerr << "\\" << std::endl;
}
