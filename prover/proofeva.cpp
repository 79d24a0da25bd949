// The truth tests, which also normalise t=t and t>t in place.
#include "proof.h"

// A formula with a missing child is an opaque atom: neither true nor false.
// t=t and t>t are normalised by the rewriter's own rules.
int isTrue(FormulaPtr p) {
  if (!p) return 0;
  if (p->connective == '=') SimplifyEqual(p);
  return p->connective == 'T';
}

int isFalse(FormulaPtr p) {
  if (!p) return 0;
  if (p->connective == '>') SimplifyGreater(p);
  return p->connective == '~' && p->right && isTrue((FormulaPtr)p->right);
}
