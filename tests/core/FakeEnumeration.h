#ifndef TARVEX_TESTS_FAKE_ENUMERATION_H
#define TARVEX_TESTS_FAKE_ENUMERATION_H

#include <ostream>

#include "Expression.h"

// A stand-in for a count polynomial: a leaf with none of the base kinds,
// answering the virtual slots for itself. It prints as factor "*P".
class FakeEnumeration : public Expression {
 public:
  explicit FakeEnumeration(int* deletions = nullptr, int factor = 1)
      : deletions_(deletions), factor_(factor) {
    is_val = 0;
  }
  ~FakeEnumeration() override {
    if (deletions_) ++*deletions_;
  }
  int is_an_enumeration() const override { return 1; }
  int is_a_polynomial() const override { return 1; }
  Expression* clone() const override { return new FakeEnumeration(deletions_, factor_); }
  Expression* scale(int k) const override { return new FakeEnumeration(deletions_, factor_ * k); }
  void print(std::ostream& os) const override { os << factor_ << "*P"; }
  int factor() const { return factor_; }

 private:
  int* deletions_;
  int factor_;
};

#endif
