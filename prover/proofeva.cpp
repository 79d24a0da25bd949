// The truth tests, which also normalise t=t and t>t in place.
#include <cstdlib>
#include "proof.h"

// A formula with a missing child is an opaque atom: neither true nor false.
int isTrue(FormulaPtr p) {
  if (!p) return 0;
  if (p->connective == '=' && p->left && p->right &&
      TermEqual((TermPtr)p->left, (TermPtr)p->right)) {
    p->connective = 'T';   // the terms are dropped
    p->left = 0;
    p->right = 0;
  }
  return p->connective == 'T';
}

int isFalse(FormulaPtr p) {
  if (!p) return 0;
  if (p->connective == '>' && p->left && p->right &&
      TermEqual((TermPtr)p->left, (TermPtr)p->right)) {
    p->connective = '~';
    p->left = 0;
    p->right = FormulaMakeTrue();
  }
  return p->connective == '~' && p->right && isTrue((FormulaPtr)p->right);
}
