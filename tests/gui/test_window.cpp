// The main window, the popup boxes and the dialog dispatcher, in process.
#include "gui_fixture.h"

#include <vector>
#include <X11/Xaw/Box.h>
#include <X11/Xaw/Command.h>

namespace {

class WindowTest : public GuiTest {};

struct Expected {
  const char *name;
  WidgetClass *cls;
  const char *parent;
  int width, height;
};

std::string ClassName(Widget w) { return XtClass(w)->core_class.class_name; }

// The children of a composite widget, in creation order.
std::vector<Widget> Children(Widget w) {
  WidgetList list = nullptr;
  Cardinal n = 0;
  XtVaGetValues(w, XtNchildren, &list, XtNnumChildren, &n, NULL);
  return std::vector<Widget>(list, list + n);
}

TEST_F(WindowTest, WidgetTreeNamesClassesOrderAndSizes) {
  // The shell's only widget child is "box" (Xaw adds a non-widget object).
  Widget box = nullptr;
  int widgets = 0;
  for (Widget c : Children(shell))
    if (XtIsWidget(c)) {
      box = c;
      widgets++;
    }
  ASSERT_EQ(widgets, 1);
  EXPECT_STREQ(XtName(box), "box");
  EXPECT_EQ(ClassName(box), "Box");
  int x, y, w, h;
  std::vector<Widget> inBox = Children(box);
  ASSERT_EQ(inBox.size(), 5u);
  const char *boxNames[] = {"boxa", "boxb", "clear", "save", "quit"};
  for (int i = 0; i < 5; i++) EXPECT_STREQ(XtName(inBox[i]), boxNames[i]);
  EXPECT_EQ(inBox[2], wclear);
  EXPECT_EQ(inBox[3], wsave);
  EXPECT_EQ(inBox[4], wquit);
  Dimension bw = 9;
  XtVaGetValues(inBox[0], XtNborderWidth, &bw, NULL);
  EXPECT_EQ(bw, 0);

  std::vector<Widget> boxa = Children(inBox[0]);
  const char *names[] = {"start", "refresh", "select", "post-cond", "expand", "veri-conds"};
  Widget globals[] = {wstart, wredisplay, wselect, wpost, wexpand, wassumption};
  ASSERT_EQ(boxa.size(), 6u);
  for (int i = 0; i < 6; i++) {
    EXPECT_EQ(boxa[i], globals[i]) << names[i];
    EXPECT_STREQ(XtName(boxa[i]), names[i]);
    EXPECT_EQ(ClassName(boxa[i]), "Command");
    EXPECT_EQ(LabelOf(boxa[i]), names[i]);
    Geometry(boxa[i], &x, &y, &w, &h);
    EXPECT_EQ(w, 80);
    EXPECT_EQ(h, 70);
  }
  const char *foot[] = {"clear", "save", "quit"};
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(ClassName(inBox[2 + i]), "Command");
    EXPECT_EQ(LabelOf(inBox[2 + i]), foot[i]);
    Geometry(inBox[2 + i], &x, &y, &w, &h);
    EXPECT_EQ(w, 40);
    EXPECT_EQ(h, 70);
  }

  std::vector<Widget> boxb = Children(inBox[1]);
  ASSERT_EQ(boxb.size(), 2u);
  EXPECT_STREQ(XtName(boxb[0]), "Procedure List:");
  EXPECT_EQ(ClassName(boxb[0]), "Label");
  EXPECT_EQ(LabelOf(boxb[0]), "Procedure List:");
  Geometry(boxb[0], &x, &y, &w, &h);
  EXPECT_EQ(w, 250);
  EXPECT_EQ(h, 30);
  EXPECT_EQ(boxb[1], wtext);
  EXPECT_STREQ(XtName(wtext), "text");
  EXPECT_EQ(ClassName(wtext), "Text");   // AsciiText's class name
  Geometry(wtext, &x, &y, &w, &h);
  EXPECT_EQ(w, 250);
  EXPECT_EQ(h, 415);
  EXPECT_EQ(TextOf(wtext), "");
  XawTextEditType et = XawtextEdit;
  XtVaGetValues(wtext, XtNeditType, &et, NULL);
  EXPECT_EQ(et, XawtextRead);
  XawTextSelectType *sel = nullptr;
  XtVaGetValues(wtext, XtNselectTypes, &sel, NULL);
  EXPECT_EQ(sel, a);
  EXPECT_EQ(a[0], XawselectWord);
  EXPECT_EQ(a[1], XawselectNull);
}

}  // namespace
