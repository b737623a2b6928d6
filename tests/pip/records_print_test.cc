// Records, their release and the printed form of answers.
#include <gtest/gtest.h>

#include <cstdlib>

#include "pip_test_util.h"

namespace {

PipVector *vec(std::vector<long long> num, std::vector<long long> den) {
  PipVector *v = static_cast<PipVector *>(malloc(sizeof *v));
  v->nb_elements = num.size();
  v->the_vector = static_cast<long long *>(malloc(num.size() * sizeof(long long)));
  v->the_deno = static_cast<long long *>(malloc(num.size() * sizeof(long long)));
  for (size_t i = 0; i < num.size(); ++i) {
    v->the_vector[i] = num[i];
    v->the_deno[i] = den[i];
  }
  return v;
}

PipList *cell(PipVector *v, PipList *next = nullptr) {
  PipList *l = static_cast<PipList *>(malloc(sizeof *l));
  l->vector = v;
  l->next = next;
  return l;
}

PipQuast *node(PipQuast *father) {
  PipQuast *q = static_cast<PipQuast *>(calloc(1, sizeof *q));
  q->father = father;
  return q;
}

// The answer of the rational maximum of y = 2x, built by hand.
PipQuast *example_tree() {
  PipQuast *root = node(nullptr);
  root->condition = vec({1, -1}, {1, 1});
  root->next_then = node(root);
  root->next_then->list = cell(vec({2, -2}, {3, 3}), cell(vec({1, -1}, {3, 3})));
  root->next_else = node(root);
  return root;
}

const char *kExample =
    "(if #[ 1 -1]\n"
    " (list\n"
    "  #[ 2/3 -2/3]\n"
    "  #[ 1/3 -1/3]\n"
    " )\n"
    " ()\n"
    ")\n";

}  // namespace

TEST(PipRecords, MatrixIsZeroFilled) {
  PipMatrix *m = pip_matrix_alloc(3, 4);
  ASSERT_EQ(m->NbRows, 3u);
  ASSERT_EQ(m->NbColumns, 4u);
  for (unsigned i = 0; i < 3; ++i)
    for (unsigned j = 0; j < 4; ++j) EXPECT_EQ(m->p[i][j], 0);
  pip_matrix_free(m);
  for (unsigned cols : {0u, 2u}) {
    PipMatrix *empty = pip_matrix_alloc(0, cols);
    EXPECT_EQ(empty->NbRows, 0u);
    EXPECT_EQ(empty->NbColumns, cols);
    EXPECT_EQ(matrix_text(empty), "0 " + std::to_string(cols) + "\n");
    pip_matrix_free(empty);
  }
}

TEST(PipRecords, OptionsDefaultsAndFreeingNull) {
  PipOptions *o = pip_options_init();
  EXPECT_EQ(o->Nq, 1);
  EXPECT_EQ(o->Verbose + o->Simplify + o->Deepest_cut + o->Maximize + o->Urs_parms +
                o->Urs_unknowns,
            0);
  pip_options_free(o);
  pip_options_free(nullptr);
  pip_matrix_free(nullptr);
  pip_quast_free(nullptr);
  pip_list_free(nullptr);
  pip_vector_free(nullptr);
}

TEST(PipRecords, HandBuiltListsAndTreesAreReleased) {
  // Under the sanitizer build a leak or a double free here fails the run.
  pip_list_free(cell(vec({1, 2}, {1, 1}), cell(nullptr, cell(vec({3}, {2})))));
  pip_quast_free(example_tree());
}

TEST(PipPrint, VectorsAndMatrices) {
  PipVector *v = vec({2, -2, 0}, {3, 1, 1});
  EXPECT_EQ(vector_text(v), "#[ 2/3 -2 0]");
  pip_vector_free(v);
  PipVector *marker = vec({0}, {0});
  EXPECT_EQ(vector_text(marker), "#[ 0/0]");
  pip_vector_free(marker);
  EXPECT_EQ(vector_text(nullptr), "");
  PipMatrix *m = make_matrix(3, {{1, -2, 3}, {0, 0, 7}});
  EXPECT_EQ(matrix_text(m), "2 3\n 1 -2 3\n 0 0 7\n");
  pip_matrix_free(m);
}

TEST(PipPrint, TreesListsAndNewParameters) {
  PipQuast *tree = example_tree();
  EXPECT_EQ(quast_text(tree, 0), kExample);
  EXPECT_EQ(quast_text(tree, -1),
            "(if #[ 1 -1]\n(list\n#[ 2/3 -2/3]\n#[ 1/3 -1/3]\n)\n()\n)\n");
  // Nested: the example as the then-branch of another test, at indent 2.
  PipQuast *outer = node(nullptr);
  outer->condition = vec({0, 1}, {1, 1});
  outer->next_then = tree;
  tree->father = outer;
  outer->next_else = node(outer);
  outer->newparm = static_cast<PipNewparm *>(malloc(sizeof(PipNewparm)));
  *outer->newparm = {1, vec({1, 0}, {1, 1}), 2, nullptr};
  EXPECT_EQ(quast_text(outer, 2),
            "  (newparm 1 (div #[ 1 0] 2))\n"
            "  (if #[ 0 1]\n"
            "   (if #[ 1 -1]\n"
            "    (list\n"
            "     #[ 2/3 -2/3]\n"
            "     #[ 1/3 -1/3]\n"
            "    )\n"
            "    ()\n"
            "   )\n"
            "   ()\n"
            "  )\n");
  pip_quast_free(outer);
  EXPECT_EQ(quast_text(nullptr, 1), " void\n");
  PipQuast *leaf = node(nullptr);
  leaf->list = cell(nullptr);
  EXPECT_EQ(quast_text(leaf), "(list\n)\n");
  pip_quast_free(leaf);
}
