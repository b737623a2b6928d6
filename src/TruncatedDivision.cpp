// C's truncating division in iteration domains: one piece per sign pattern
// of the quotients, each division written as a floor or as a ceiling
// (-floor(-e/d)), with the quotient's sign as an extra constraint. isl
// answers the emptiness of each piece and whether their union is the floor
// reading of the domain; its parameters may take any sign here, since C
// code runs for every value.

#include "TruncatedDivision.h"

#include <isl/ctx.h>
#include <isl/options.h>
#include <isl/set.h>

#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Domain.h"
#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"

namespace {

// 2^8 pieces at most: enough for every division of a loop nest of
// ordinary depth, and still quick to test one by one.
const size_t max_divisions = 8;

std::string text_of(const Expression* e) {
  std::ostringstream out;
  e->print(out);
  return out.str();
}

// The distinct divisions of the domain by their text, inner ones first (the
// trees give them in post-order); pointers into the domain.
std::vector<Expression*> divisions_of(Polyhedron* domain) {
  std::vector<Expression*> found;
  std::set<std::string> seen;
  for (Expression* d : domain->get_divs()) {
    if (!d->fd->is_constant() || d->fd->val == 0) {
      // The isl printer refuses such a quotient with its own message.
      std::ostringstream discard;
      d->print_iscc(discard);
    }
    if (seen.insert(text_of(d)).second) found.push_back(d);
  }
  if (found.size() > max_divisions)
    stop(std::cout, "Program::from_Sage: more than " + std::to_string(max_divisions) +
                        " integer divisions in the bounds of one statement");
  return found;
}

// Which reading each division gets in one piece: true for floor.
typedef std::map<std::string, bool> Reading;

Expression* reading_of(const Expression* e, const Reading& floors) {
  if (e->is_leaf) return e->clone();
  Expression* left = reading_of(e->fg, floors);
  Expression* right = reading_of(e->fd, floors);
  Expression* result;
  if (e->op == DIV && !floors.at(text_of(e))) {
    // ceil(l / r) == -floor(-l / r)
    Expression minus_one(-1);
    Expression negated(TIMES, &minus_one, left);
    Expression quotient(DIV, &negated, right);
    result = new Expression(TIMES, &minus_one, &quotient);
  } else {
    result = new Expression(e->op, left, right);
  }
  delete left;
  delete right;
  return result;
}

// The piece of `domain` in which every division takes its reading, with the
// sign of each quotient that this reading holds for.
Polyhedron* piece(Polyhedron* domain, const std::vector<Expression*>& divisions, const Reading& floors) {
  Polyhedron* p = new Polyhedron();
  for (Inequation* c : domain->constraints) {
    Expression* lhs = reading_of(c->lhs, floors);
    Expression* rhs = reading_of(c->rhs, floors);
    Inequation own(c->pred, lhs, rhs);
    p->add_constraint(&own);
    delete lhs;
    delete rhs;
  }
  Expression zero(0);
  for (Expression* d : divisions) {
    // The quotient is >= 0 when the numerator has the divisor's sign.
    Expression* numerator = reading_of(d->fg, floors);
    bool floor = floors.at(text_of(d));
    bool positive_divisor = d->fd->val > 0;
    predicate_t sign = floor == positive_divisor ? GREATER_EQ : LESS_EQ;
    Expression bound(floor ? 0 : (positive_divisor ? -1 : 1));
    Inequation quotient_sign(sign, numerator, &bound);
    p->add_constraint(&quotient_sign);
    delete numerator;
  }
  return p;
}

// isl's text of the union of `pieces` over the given counters and
// parameters; "false" for no piece.
std::string set_text(const std::vector<Polyhedron*>& pieces, const std::set<int>& counters,
                     const std::set<int>& parameters) {
  std::ostringstream out;
  out << "[";
  print_iscc_variable_list(out, parameters, 0);
  out << "] -> { ";
  std::ostringstream tuple;
  tuple << "[";
  print_iscc_variable_list(tuple, counters, 1);
  tuple << "] : ";
  if (pieces.empty()) out << tuple.str() << "false";
  for (size_t k = 0; k < pieces.size(); k++) {
    out << (k ? "; " : "") << tuple.str();
    if (pieces[k]->constraints.empty()) out << "true";
    pieces[k]->print_iscc_constraints(out);
  }
  out << " }";
  return out.str();
}

// One isl context for the questions about one domain.
class Questions {
public:
  explicit Questions(Polyhedron* domain) : ctx(isl_ctx_alloc()) {
    isl_options_set_on_error(ctx, ISL_ON_ERROR_CONTINUE);
    counters = domain->get_counters();
    parameters = domain->get_parameters();
  }
  ~Questions() { isl_ctx_free(ctx); }
  Questions(const Questions&) = delete;
  Questions& operator=(const Questions&) = delete;

  bool is_empty(Polyhedron* p) {
    isl_set* set = read({p});
    isl_bool empty = isl_set_is_empty(set);
    isl_set_free(set);
    return answer(empty);
  }

  bool is_equal(const std::vector<Polyhedron*>& a, Polyhedron* b) {
    isl_set* left = read(a);
    isl_set* right = read({b});
    isl_bool equal = isl_set_is_equal(left, right);
    isl_set_free(left);
    isl_set_free(right);
    return answer(equal);
  }

private:
  isl_ctx* ctx;
  std::set<int> counters;
  std::set<int> parameters;

  isl_set* read(const std::vector<Polyhedron*>& pieces) {
    std::string text = set_text(pieces, counters, parameters);
    isl_set* set = isl_set_read_from_str(ctx, text.c_str());
    if (!set) stop(std::cout, "Program::from_Sage: isl cannot read the domain " + text);
    return set;
  }

  static bool answer(isl_bool result) {
    if (result == isl_bool_error) stop(std::cout, "Program::from_Sage: isl failed on a domain");
    return result == isl_bool_true;
  }
};

}  // namespace

Polyhedron* with_truncating_divisions(Polyhedron* domain) {
  if (!domain->has_div()) return domain->clone();
  std::vector<Expression*> divisions = divisions_of(domain);
  Questions isl(domain);
  std::vector<Polyhedron*> pieces;
  Polyhedron* first = nullptr;  // kept when every piece is empty
  for (size_t pattern = 0; pattern < (size_t(1) << divisions.size()); pattern++) {
    Reading floors;
    for (size_t k = 0; k < divisions.size(); k++) floors[text_of(divisions[k])] = !(pattern >> k & 1);
    Polyhedron* p = piece(domain, divisions, floors);
    if (!isl.is_empty(p)) {
      pieces.push_back(p);
    } else if (!first) {
      first = p;
    } else {
      delete p;
    }
  }
  if (pieces.empty()) return first;
  delete first;
  if (isl.is_equal(pieces, domain)) {
    del(pieces);
    return domain->clone();
  }
  if (pieces.size() == 1) return pieces[0];
  Domain* exact = new Domain(pieces);
  del(pieces);
  return exact;
}
