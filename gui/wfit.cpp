// Sizes taken from the font in use: prompts wrapped to their box, buttons
// grown to their labels, scrollbars on texts larger than their area, popups
// kept on the screen and the main window's minimum size.
#include <X11/IntrinsicP.h>
#include <X11/Shell.h>
#include <X11/Xaw/AsciiText.h>
#include <X11/Xaw/Box.h>
#include <X11/Xaw/Label.h>
#include <X11/Xaw/TextP.h>

#include "w.h"

#include <cstring>

static const int SCREEN_MARGIN = 20;   // kept free around a box grown for its prompt
static const int PROMPT_WIDEN = 100;   // steps in which a long prompt widens its box

static XFontStruct *FontOf(Widget w) {
  XFontStruct *f = nullptr;
  XtVaGetValues(w, XtNfont, &f, NULL);
  return f;
}

static int LineHeight(XFontStruct *f) { return f ? f->ascent + f->descent : 13; }

// Width in pixels of n characters of s; a tab counts as TAB_STOP blanks.
static const int TAB_STOP = 8;
static int TextWidth(XFontStruct *f, const char *s, size_t n) {
  if (!f) return (int)n * 6;
  int w = 0;
  size_t from = 0;
  for (size_t i = 0; i <= n; i++) {
    if (i < n && s[i] != '\t') continue;
    w += XTextWidth(f, s + from, (int)(i - from));
    if (i < n) w += TAB_STOP * XTextWidth(f, " ", 1);
    from = i + 1;
  }
  return w;
}

int wWrapText(XFontStruct *f, const char *s, int width, Text *out) {
  int lines = 1;
  size_t lineAt = out->len;   // where the line being filled begins in out
  for (const char *p = s; *p;) {
    if (*p == '\n') {
      TextAppendChar(out, '\n'), lines++, p++;
      lineAt = out->len;
      continue;
    }
    // The next word with the blanks before it.
    const char *e = p;
    while (*e == ' ') e++;
    while (*e && *e != ' ' && *e != '\n') e++;
    size_t have = out->len - lineAt;
    if (have > 0 && TextWidth(f, TextStr(out) + lineAt, have) + TextWidth(f, p, e - p) > width) {
      while (*p == ' ') p++;   // the break replaces the blanks
      TextAppendChar(out, '\n'), lines++;
      lineAt = out->len;
      continue;
    }
    // A word wider than a whole line is broken inside.
    for (; p < e; p++) {
      if (out->len > lineAt &&
          TextWidth(f, TextStr(out) + lineAt, out->len - lineAt) + TextWidth(f, p, 1) > width) {
        TextAppendChar(out, '\n'), lines++;
        lineAt = out->len;
      }
      TextAppendChar(out, *p);
    }
  }
  return lines;
}

void wSetPrompt(PopupBoxPtr p, const char *s) {
  if (!p) return;
  Dimension width = 0, iw = 0, ih = 0, labelH = 0, shellH = 0;
  XtVaGetValues(p->text, XtNwidth, &width, NULL);   // the prompt is as wide as its text area
  XtVaGetValues(p->label, XtNinternalWidth, &iw, XtNinternalHeight, &ih, XtNheight, &labelH, NULL);
  XtVaGetValues(p->pshell, XtNheight, &shellH, NULL);
  XFontStruct *f = FontOf(p->label);
  // Lines that would take the box off the screen widen the prompt instead.
  Screen *screen = XtScreen(p->label);
  int room = HeightOfScreen(screen) - ((int)shellH - (int)labelH) - SCREEN_MARGIN;
  int widest = WidthOfScreen(screen) - 2 * SCREEN_MARGIN;
  Text t;
  TextInit(&t);
  int w = width, height = 0;
  for (;; w += PROMPT_WIDEN) {
    if (w > widest) w = widest > (int)width ? widest : (int)width;
    TextClear(&t);
    height = wWrapText(f, s ? s : "", w - 2 * iw, &t) * LineHeight(f) + 2 * ih;
    if (height <= room || w >= widest) break;
  }
  XtVaSetValues(p->label, XtNlabel, TextStr(&t), XtNwidth, w, XtNheight, height, NULL);
  TextFree(&t);
  wKeepOnScreen(p->pshell);
}

void wFitLabel(Widget w) {
  String label = nullptr;
  Dimension width = 0, height = 0, iw = 0, ih = 0;
  XtVaGetValues(w, XtNlabel, &label, XtNwidth, &width, XtNheight, &height, XtNinternalWidth, &iw,
                XtNinternalHeight, &ih, NULL);
  XFontStruct *f = FontOf(w);
  int needW = TextWidth(f, label ? label : "", label ? strlen(label) : 0) + 2 * iw;
  int needH = LineHeight(f) + 2 * ih;
  if (needW > width || needH > height)
    XtVaSetValues(w, XtNwidth, needW > width ? needW : width, XtNheight,
                  needH > height ? needH : height, NULL);
}

static void BarFocusCut(Widget text, const char *name) {
  TextWidget t = (TextWidget)text;
  Widget bar = name[0] == 'v' ? t->text.vbar : t->text.hbar;
  if (bar) XtSetKeyboardFocus(bar, None);
}

void wScrollFit(Widget w, int horizontal) {
  if (!w) return;
  Dimension width = 0, height = 0;
  Position left = 0, right = 0, top = 0, bottom = 0;
  XtVaGetValues(w, XtNwidth, &width, XtNheight, &height, XtNleftMargin, &left, XtNrightMargin,
                &right, XtNtopMargin, &top, XtNbottomMargin, &bottom, NULL);
  XFontStruct *f = FontOf(w);
  Text t;
  TextInit(&t);
  wTextRead(w, &t);
  int lines = 0, widest = 0;
  for (const char *at = TextStr(&t);; at++) {
    const char *e = strchr(at, '\n');
    size_t len = e ? (size_t)(e - at) : strlen(at);
    int lw = TextWidth(f, at, len);
    if (lw > widest) widest = lw;
    lines++;
    if (!e) break;
    at = e;
  }
  TextFree(&t);
  // A bar takes room from the other direction: about one line each.
  int bar = SCROLLBAR_ROOM;
  int textH = lines * LineHeight(f), roomH = (int)height - top - bottom;
  int roomW = (int)width - left - right;
  bool v = textH > roomH;
  bool h = horizontal && widest > roomW - (v ? bar : 0);
  if (h && !v) v = textH > roomH - bar;
  XawTextScrollMode mv = XawtextScrollNever, mh = XawtextScrollNever;
  XtVaGetValues(w, XtNscrollVertical, &mv, XtNscrollHorizontal, &mh, NULL);
  XawTextScrollMode nv = v ? XawtextScrollAlways : XawtextScrollNever;
  XawTextScrollMode nh = h ? XawtextScrollAlways : XawtextScrollNever;
  // The text keeps a focus link to its scrollbar that would outlive the bar:
  // cut it before the bar goes.
  if (nv != mv) {
    if (!v) BarFocusCut(w, "vScrollbar");
    XtVaSetValues(w, XtNscrollVertical, nv, NULL);
  }
  if (horizontal && nh != mh) {
    if (!h) BarFocusCut(w, "hScrollbar");
    XtVaSetValues(w, XtNscrollHorizontal, nh, NULL);
  }
}

void wKeepOnScreen(Widget shell) {
  if (!shell || !XtIsRealized(shell)) return;
  Position x = 0, y = 0;
  Dimension w = 0, h = 0, b = 0;
  XtVaGetValues(shell, XtNx, &x, XtNy, &y, XtNwidth, &w, XtNheight, &h, XtNborderWidth, &b, NULL);
  Screen *s = XtScreen(shell);
  int maxX = WidthOfScreen(s) - (int)w - 2 * b, maxY = HeightOfScreen(s) - (int)h - 2 * b;
  int nx = x > maxX ? maxX : x, ny = y > maxY ? maxY : y;
  if (nx < 0) nx = 0;
  if (ny < 0) ny = 0;
  if (nx != x || ny != y) XtVaSetValues(shell, XtNx, (Position)nx, XtNy, (Position)ny, NULL);
}

void wMinimumSize(Widget shell) {
  WidgetList kids = nullptr;
  Cardinal count = 0;
  XtVaGetValues(shell, XtNchildren, &kids, XtNnumChildren, &count, NULL);
  if (count < 1) return;
  // The box as laid out at start-up holds every button and the list.
  Widget box = kids[0];
  XtVaGetValues(box, XtNchildren, &kids, XtNnumChildren, &count, NULL);
  int w = 0, h = 0;
  for (Cardinal i = 0; i < count; i++) {
    Position x = 0, y = 0;
    Dimension cw = 0, ch = 0, cb = 0;
    XtVaGetValues(kids[i], XtNx, &x, XtNy, &y, XtNwidth, &cw, XtNheight, &ch, XtNborderWidth, &cb,
                  NULL);
    if (x + cw + 2 * cb > w) w = x + cw + 2 * cb;
    if (y + ch + 2 * cb > h) h = y + ch + 2 * cb;
  }
  Dimension bb = 0, hs = 0, vs = 0;
  XtVaGetValues(box, XtNborderWidth, &bb, XtNhSpace, &hs, XtNvSpace, &vs, NULL);
  XtVaSetValues(shell, XtNminWidth, w + hs + 2 * bb, XtNminHeight, h + vs + 2 * bb, NULL);
}
