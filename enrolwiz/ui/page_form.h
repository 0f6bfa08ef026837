// PageForm: a page's controls as its logic sees them, by control id
// (res/resource.h). The Windows pages answer with their real controls; a test
// answers with values it sets, so the pages' logic runs without a window.
#ifndef ENROLWIZ_UI_PAGE_FORM_H
#define ENROLWIZ_UI_PAGE_FORM_H

#include "framework/cstring.h"

class CRegException;

class PageForm {
public:
  virtual ~PageForm() = default;

  // An edit's text, or the text of a list's selected entry (empty when none).
  virtual CString text(UINT id) const = 0;
  virtual void setText(UINT id, const CString& text) = 0;
  // The most characters that an edit, or a list's edit part, takes.
  virtual void limitText(UINT id, int characters) = 0;

  // Lists: entries carry item data. A list that sorts sorts what is added,
  // unless atEnd appends it.
  virtual void clearList(UINT id) = 0;
  virtual void addEntry(UINT id, const CString& text, int data, bool atEnd) = 0;
  // The item data of the selected entry; -1 when none is selected.
  virtual int selectedData(UINT id) const = 0;
  // Selects the first entry that begins with text (exact: that equals it),
  // ignoring case; false, and the selection unchanged, when none does.
  virtual bool selectEntry(UINT id, const CString& text, bool exact) = 0;
  // Turns a list into a free-text field in the same place.
  virtual void makeFreeText(UINT id) = 0;

  virtual int checked(UINT id) const = 0;
  virtual void setChecked(UINT id, int state) = 0;
  virtual void show(UINT id, bool shown) = 0;
  virtual void enable(UINT id, bool enabled) = 0;

  // The control's object, the focus control of a failure; null when the form
  // has no such control.
  virtual CWnd* control(UINT id) = 0;
  // Moves the keyboard focus to the control when it is visible.
  virtual void moveFocus(CWnd* control) = 0;
  // Shows the message or asks the question; the user's answer (IDOK, IDYES, IDNO).
  virtual int report(CRegException& message) = 0;
};

#endif
