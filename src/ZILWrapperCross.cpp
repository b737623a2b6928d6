// The cross product of the library's lists of pieces: a depth-first search
// over one piece per list that leaves a branch as soon as its intersection
// is empty, counting the combinations it has settled so that a long run can
// show its progress, and its emptiness tests and kept pieces so that it
// stops as soon as it passes its budget.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>

#include "Polyhedron.h"
#include "Stop.h"
#include "ZILWrapper.h"

namespace ZILWrapper {

namespace {

typedef std::vector<std::vector<Polyhedron*>> Lists;

// The line "  Cross product... <settled>/<total>, <kept> kept". On a
// terminal it is rewritten in place a few times a second; elsewhere (a log,
// a pipe) its head is written at once, so that a reader sees the phase
// begin, and its counts once at the end.
class ProgressLine {
 public:
  ProgressLine(bool shown, long long total)
      : shown(shown), terminal(shown && isatty(fileno(stdout))), total(total), last(Clock::now()) {
    if (!shown) return;
    std::cout << "  Cross product...";
    if (terminal) counts(0, 0);
    std::cout << std::flush;
  }

  void advance(long long settled, long long kept) {
    if (!terminal || Clock::now() - last < std::chrono::milliseconds(250)) return;
    last = Clock::now();
    std::cout << "\r  Cross product...";
    counts(settled, kept);
    std::cout << std::flush;
  }

  // Ends the line (also before the run stops, so the message stands alone).
  void end(long long settled, long long kept) {
    if (!shown) return;
    if (terminal) std::cout << "\r  Cross product...";
    counts(settled, kept);
    std::cout << std::endl;
  }

 private:
  typedef std::chrono::steady_clock Clock;

  void counts(long long settled, long long kept) {
    std::cout << " " << settled << "/" << total << ", " << kept << " kept";
  }

  bool shown;
  bool terminal;
  long long total;
  Clock::time_point last;
};

// Depth-first over lists[first..]: a branch whose intersection (within the
// context) is empty is left at once, and every combination below it is
// settled with it. A piece alone is tested only within a context: without
// one, a single list is copied as it stands.
class Search {
 public:
  Search(const Lists& lists, size_t first, const CrossProductOptions& options)
      : lists(lists), first(first), options(options), below(lists.size(), 1),
        total(combinations(lists, first)), progress(options.progress, total) {
    for (size_t d = lists.size() - 1; d > first; d--)
      below[d - 1] = estimated_pieces({below[d], static_cast<long long>(lists[d].size())});
  }

  // The kept pieces; none past the budget.
  std::vector<Polyhedron*> run() {
    Polyhedron* root = options.context ? new Polyhedron(options.context) : new Polyhedron();
    std::vector<Polyhedron*> chosen;
    visit(first, root, chosen);
    delete root;
    progress.end(settled, nb_kept());
    if (over()) {
      del(kept);
      kept.clear();
      if (options.last_choices) options.last_choices->clear();
    }
    return kept;
  }

 private:
  static long long combinations(const Lists& lists, size_t first) {
    std::vector<long long> sizes;
    for (size_t d = first; d < lists.size(); d++) sizes.push_back(static_cast<long long>(lists[d].size()));
    return estimated_pieces(sizes);
  }

  long long nb_kept() const { return static_cast<long long>(kept.size()); }

  bool over() const { return options.budget && options.budget->exceeded; }

  // Whether one more emptiness test fits the budget.
  bool may_test() { return !options.budget || options.budget->spend_tests(1); }

  // `within` (kept by the caller): the context and the pieces chosen for
  // the lists before `depth`.
  void visit(size_t depth, Polyhedron* within, std::vector<Polyhedron*>& chosen) {
    bool tested = depth > first || options.context;
    for (size_t choice = 0; choice < lists[depth].size() && !over(); choice++) {
      Polyhedron* piece = lists[depth][choice];
      Polyhedron* next = new Polyhedron(within);
      next->add_constraints(piece);
      chosen.push_back(piece);
      if (tested && !may_test()) {
        // Past the budget: the search ends here.
      } else if (tested && next->is_empty()) {
        settled += below[depth];
      } else if (depth + 1 < lists.size()) {
        visit(depth + 1, next, chosen);
      } else {
        settled++;
        if (options.last_choices) options.last_choices->push_back(choice);
        keep(chosen);
      }
      chosen.pop_back();
      delete next;
      progress.advance(settled, nb_kept());
    }
  }

  // The intersection of the chosen pieces, in list order, without the
  // context.
  void keep(const std::vector<Polyhedron*>& chosen) {
    Polyhedron* piece = new Polyhedron(chosen[0]);
    for (size_t k = 1; k < chosen.size(); k++) piece->add_constraints(chosen[k]);
    kept.push_back(piece);
    if (options.budget && nb_kept() > options.budget->most_kept) options.budget->exceeded = true;
  }

  const Lists& lists;
  size_t first;
  const CrossProductOptions& options;
  std::vector<long long> below;  // below[d]: the combinations under one piece of list d
  long long total;
  ProgressLine progress;
  long long settled = 0;
  long long tests = 0;
  std::vector<Polyhedron*> kept;
};

}  // namespace

std::vector<Polyhedron*> cross_product(const Lists& domain, int depth) {
  return cross_product(domain, depth, CrossProductOptions());
}

std::vector<Polyhedron*> cross_product(const Lists& domain, int depth, const CrossProductOptions& options) {
  if (domain.empty()) stop(std::cerr, "ZILWrapper::cross_product: no constraint list");
  return Search(domain, static_cast<size_t>(depth), options).run();
}

}  // namespace ZILWrapper
