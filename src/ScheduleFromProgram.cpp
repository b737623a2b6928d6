// The sequential schedule of a program: dates that follow the textual order
// of the statements. The date of a statement at depth d has 2d + 1 entries:
// the position of its outermost nest, then per loop its counter and the
// position of what comes next inside that loop. Also the part numbers put
// ahead of the dates of a program of several static control parts.

#include <algorithm>

#include "Expression.h"
#include "IndexFunction.h"
#include "Program.h"
#include "Schedule.h"
#include "Statement.h"

std::vector<Schedule*> Schedule::from_Program(Program* prog) {
  std::vector<Schedule*> result;
  if (prog->statement.empty()) return result;
  // Counters registered after the program was made have ranks beyond its
  // count.
  int width = prog->nb_counters;
  for (Statement* s : prog->statement)
    for (int c : s->surrounding_counters) width = std::max(width, c + 1);
  std::vector<int> position(width, 0);
  int ground_occ = 0;
  std::vector<int> previous = prog->statement[0]->surrounding_counters;

  for (Statement* s : prog->statement) {
    const std::vector<int>& cs = s->surrounding_counters;
    // Statements share loops as far as their ranks agree with the previous
    // statement's; the first one is compared with itself.
    int nest = common_nest(previous, cs);
    if (nest == -1) ground_occ++;
    std::vector<Expression*> entries{new Expression(ground_occ)};
    for (size_t j = 0; j < cs.size(); j++) {
      if (static_cast<int>(j) == nest) position[cs[j]]++;
      entries.push_back(Expression::from_counter_rank(cs[j]));
      entries.push_back(new Expression(position[cs[j]]));
    }
    IndexFunction date(cs, entries);
    del(entries);
    result.push_back(new Schedule(&date));
    previous = cs;
  }
  return result;
}

void Schedule::order_parts(const std::vector<Statement*>& statements, std::vector<Schedule*>& schedules) {
  bool several = false;
  for (Statement* s : statements) several = several || s->part != statements.front()->part;
  if (!several) return;
  for (size_t i = 0; i < statements.size(); i++) {
    const IndexFunction* f = schedules[i]->schedule;
    std::vector<Expression*> dates{new Expression(statements[i]->part)};
    for (Expression* date : f->index_mapping) dates.push_back(date->clone());
    IndexFunction dated(f->surrounding_counters, dates);
    del(dates);
    delete schedules[i];
    schedules[i] = new Schedule(&dated);
  }
}
