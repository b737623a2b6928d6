// The matrix-form description of a program: the parameter context, then per
// statement its iteration domain, loop labels, and written and read items,
// each a matrix under a size line. Rows speak of the statement's own loop
// counters, in their order, and of every parameter.

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>

#include "Array.h"
#include "Domain.h"
#include "Expression.h"
#include "GeneratedName.h"
#include "IndexFunction.h"
#include "Polyhedron.h"
#include "Program.h"
#include "Rank.h"
#include "Schedule.h"
#include "Statement.h"
#include "Stop.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

const std::string kBanner = "####################";

std::string statement_prefix(int i) { return "Program::print_candle: statement " + std::to_string(i) + ": "; }

// A full affine vector [counters | parameters | constant] restricted to
// [counters of S in S's order | parameters | constant]. Any other counter
// has no column: a coefficient on it stops the run.
std::vector<int> over_loops(const std::vector<int>& full, const std::vector<int>& S, int i) {
  int counters = get_nb_counters();
  for (int c = 0; c < counters; c++)
    if (full[c] != 0 && std::find(S.begin(), S.end(), c) == S.end())
      stop(std::cout, statement_prefix(i) + "counter " + get_counter_string(c) + " is not a loop counter of the statement");
  std::vector<int> row;
  for (int c : S) row.push_back(full[c]);
  row.insert(row.end(), full.begin() + counters, full.end());
  return row;
}

// The rows of the statement's domain: [flag | S | parameters | constant].
Rows domain_rows(Statement* s, int i) {
  Polyhedron* d = s->iteration_domain;
  if (d->is_domain()) {
    std::vector<Polyhedron*>& members = static_cast<Domain*>(d)->domain;
    if (members.size() != 1) stop(std::cout, statement_prefix(i) + "union domain has no matrix form");
    d = members[0];
  }
  Rows rows;
  for (const std::vector<int>& full : d->to_matrix()) {
    std::vector<int> row{full[0]};
    std::vector<int> rest = over_loops(std::vector<int>(full.begin() + 1, full.end()), s->surrounding_counters, i);
    row.insert(row.end(), rest.begin(), rest.end());
    rows.push_back(row);
  }
  return rows;
}

// One row per entry of an access function, [S | parameters | constant].
Rows item_rows(IndexFunction* f, const std::vector<int>& S, int i) {
  Rows rows;
  for (Expression* e : f->index_mapping) rows.push_back(over_loops(e->to_vector(), S, i));
  return rows;
}

// The array number on an access's first row, 0 on the others; every entry
// followed by a tab.
void write_items(std::ostream& out, const std::string& array, const Rows& rows) {
  for (size_t j = 0; j < rows.size(); j++) {
    out << (j ? 0 : 1 + get_array_rank(array)) << "\t";
    for (int entry : rows[j]) out << entry << "\t";
    out << std::endl;
  }
}

void write_context(std::ostream& out) {
  int P = get_nb_parameters();
  out << kBanner << std::endl << "# Context" << std::endl << P << " " << P + 2 << std::endl << "#";
  for (int p = 0; p < P; p++) out << get_parameter_string(p) << "\t";
  out << std::endl;
  // Parameter p >= 0.
  for (int p = 0; p < P; p++) {
    out << "1\t";
    for (int q = 0; q < P; q++) out << (q == p ? 1 : 0) << "\t";
    out << "0" << std::endl;
  }
  out << std::endl;
}

void write_statement(std::ostream& out, Statement* s, int i) {
  // A statement still being built, as Program(n) makes them.
  if (!s->iteration_domain || !s->lhs_index)
    stop(std::cout, statement_prefix(i) + "a statement without iteration domain or write has no matrix form");
  const std::vector<int>& S = s->surrounding_counters;
  out << kBanner << std::endl << "# -------------------------" << std::endl << "# Statement " << i << std::endl
      << "# Statement type (A: affectation)" << std::endl << "A" << std::endl << std::endl;

  Rows domain = domain_rows(s, i);
  out << "# Iteration domain" << std::endl << domain.size() << " " << S.size() + get_nb_parameters() + 2 << std::endl;
  for (const std::vector<int>& row : domain) {
    for (size_t k = 0; k < row.size(); k++) out << (k ? "\t" : "") << row[k];
    out << std::endl;
  }
  out << std::endl << "# Loop labels" << std::endl;
  for (int c : S) out << 1 + c << "\t";
  out << std::endl << std::endl;

  Rows written = item_rows(s->lhs_index, S, i);
  out << "# Written items" << std::endl << written.size() << " " << (written.empty() ? 0 : written[0].size() + 1)
      << std::endl;
  write_items(out, s->lhs_id, written);

  // Counter reads are values, not items. The width is that of the last
  // read's first row, 1 when that read (a scalar) has no row.
  std::vector<std::pair<std::string, Rows>> reads;
  size_t total = 0, width = 1;
  for (const Read& read : s->rhs_index) {
    if (read.first.empty()) continue;
    reads.push_back({read.first, item_rows(read.second, S, i)});
    total += reads.back().second.size();
    width = reads.back().second.empty() ? 1 : reads.back().second[0].size() + 1;
  }
  out << std::endl << "# Read items" << std::endl << total << " " << width << std::endl;
  for (const auto& read : reads) write_items(out, read.first, read.second);
  out << std::endl;
}

}  // namespace

void Program::print_candle(std::ostream& out) const {
  out << "#  -o-  Automatically generated by Yeb  -o-" << std::endl << std::endl;
  write_context(out);
  out << kBanner << std::endl << "# Number of statements" << std::endl << statement.size() << std::endl << std::endl;
  for (size_t i = 0; i < statement.size(); i++) write_statement(out, statement[i], static_cast<int>(i));
  out << "###########################" << std::endl << "# Transformation candidate" << std::endl << "0" << std::endl;
}

void Program::backend(const std::vector<Schedule*>& schedules) const {
  // Fewer schedules than statements: nothing to gather them from.
  if (schedules.size() < statement.size()) stop(std::cout, "Error 1");
  // Gathering comes first: its own failures (a statement without C text, a
  // non-affine constraint) are reported before the back end gives up.
  std::vector<Rows> domains, dates;
  std::vector<std::string> words;
  for (size_t k = 0; k < statement.size(); k++) {
    Statement* s = statement[k];
    domains.push_back(s->iteration_domain->to_matrix(s->surrounding_counters));
    std::ostringstream text;
    text << *s;
    words.push_back(first_word(text));
    dates.push_back(schedules[k]->to_matrix());
  }
  std::vector<std::string> declarations;
  for (const std::string& name : get_arrays()) declarations.push_back("int " + name + ";");
  stop(std::cout, "Error 1");
}
