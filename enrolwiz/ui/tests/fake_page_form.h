// FakeForm: a page's controls as values, for the pages' logic without a
// window: texts, lists with item data (sorted where the list sorts), ticks,
// visibility, the focus, and the reports shown, questions answered from a queue.
#ifndef ENROLWIZ_UI_TESTS_FAKE_PAGE_FORM_H
#define ENROLWIZ_UI_TESTS_FAKE_PAGE_FORM_H

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

#include "app/reg_exception.h"
#include "app/report_kind.h"
#include "res/resource.h"
#include "ui/contact_blocks.h"
#include "ui/page_form.h"

inline CWnd* fakeControl(UINT id)
{
  return reinterpret_cast<CWnd*>(static_cast<std::uintptr_t>(id));
}

class FakeForm : public PageForm {
public:
  struct Control {
    bool list = false, sorted = false, visible = true;
    CString text;
    std::vector<std::pair<CString, int>> entries;
    int selected = -1, checked = 0;
  };

  // The contact page's lists.
  FakeForm()
  {
    for (UINT id : {IDC_PREFIX, IDC_SUFFIX, IDC_STATE, IDC_COUNTRY})
      controls[id].list = true;
    controls[IDC_STATE].sorted = controls[IDC_COUNTRY].sorted = true;
  }
  // The lists given, each sorted or not.
  explicit FakeForm(const std::vector<std::pair<UINT, bool>>& lists)
  {
    for (const auto& list : lists) {
      controls[list.first].list = true;
      controls[list.first].sorted = list.second;
    }
  }

  CString text(UINT id) const override
  {
    const Control& c = at(id);
    if (!c.list)
      return c.text;
    return c.selected < 0 ? CString() : c.entries[static_cast<size_t>(c.selected)].first;
  }
  void setText(UINT id, const CString& text) override { controls[id].text = text; }
  void limitText(UINT, int) override {}
  void clearList(UINT id) override
  {
    controls[id].entries.clear();
    controls[id].selected = -1;
  }
  void addEntry(UINT id, const CString& text, int data, bool atEnd) override
  {
    Control& c = controls[id];
    auto place = c.entries.end();
    if (c.sorted && !atEnd)
      for (place = c.entries.begin(); place != c.entries.end() && place->first.CompareNoCase(text) <= 0;)
        ++place;
    c.entries.insert(place, {text, data});
  }
  int selectedData(UINT id) const override
  {
    const Control& c = at(id);
    return c.selected < 0 ? -1 : c.entries[static_cast<size_t>(c.selected)].second;
  }
  bool selectEntry(UINT id, const CString& text, bool exact) override
  {
    Control& c = controls[id];
    for (size_t i = 0; i < c.entries.size(); ++i) {
      const CString& entry = c.entries[i].first;
      if (exact ? entry.CompareNoCase(text) == 0 : entry.Left(text.GetLength()).CompareNoCase(text) == 0) {
        c.selected = static_cast<int>(i);
        return true;
      }
    }
    return false;
  }
  void makeFreeText(UINT id) override { controls[id] = Control(); }
  int checked(UINT id) const override { return at(id).checked; }
  void setChecked(UINT id, int state) override { controls[id].checked = state; }
  void show(UINT id, bool shown) override { controls[id].visible = shown; }
  void enable(UINT, bool) override {}
  CWnd* control(UINT id) override { return fakeControl(id); }
  void moveFocus(CWnd* control) override
  {
    UINT id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(control));
    if (at(id).visible)
      focused = id;
  }
  int report(CRegException& message) override
  {
    reports.push_back(message.messageId());
    if (reportKind(message.messageId()) != ReportKind::question)
      return 1;
    if (answers.empty()) {
      ADD_FAILURE() << "no answer for question " << message.messageId();
      return answerYes;
    }
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }

  // What a person does: types over a field, chooses an entry, or none.
  void type(UINT id, const char* text) { controls[id].text = text; }
  void choose(UINT id, const char* text) { ASSERT_TRUE(selectEntry(id, text, false)) << text; }
  void clearChoice(UINT id) { controls[id].selected = -1; }
  std::vector<CString> entries(UINT id) const
  {
    std::vector<CString> out;
    for (const auto& e : at(id).entries)
      out.push_back(e.first);
    return out;
  }
  bool visible(UINT id) const { return at(id).visible; }

  std::map<UINT, Control> controls;
  std::vector<UINT> reports;
  std::deque<int> answers;
  UINT focused = 0;

private:
  const Control& at(UINT id) const
  {
    static const Control none;
    auto found = controls.find(id);
    return found == controls.end() ? none : found->second;
  }
};

#endif
