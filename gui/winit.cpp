// Creates the three popup boxes and the selection types of the list texts.
#include "w.h"

void wInit(int, char **) {
  a[0] = XawselectWord;
  a[1] = XawselectNull;
  a[2] = XawselectNull;
  numberOfBoxes = -1;   // the boxes are elements 0, 1 and 2
  int i1 = CreateReadBox();
  int i2 = CreateListBox();
  int i3 = CreateReadBox();
  wp1 = i1 >= 0 ? &popupBoxes[i1] : nullptr;
  wp2 = i2 >= 0 ? &popupBoxes[i2] : nullptr;
  wp3 = i3 >= 0 ? &popupBoxes[i3] : nullptr;
}
