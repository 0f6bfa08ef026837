// AdditionalPageCore: what the additional-information page does, over a
// PageForm. The brand decides everything it shows: the survey questions that
// go into the page's lists (the question group) and the bookmark boxes (the
// bookmark group); the record keeps the answers and ticks between pages.
#ifndef ENROLWIZ_UI_ADDITIONAL_PAGE_CORE_H
#define ENROLWIZ_UI_ADDITIONAL_PAGE_CORE_H

#include <vector>

#include "tables/brand_profile.h"
#include "ui/page_form.h"

class RegistrationRecord;

// The survey questions of one page mode (this page asks with the flag set),
// each in the next free list slot.
class SurveyQuestionGroup {
public:
  // Reads the stored answer texts of the first three questions.
  SurveyQuestionGroup(PageForm& form, const BrandProfile& brand, const RegistrationRecord& record);

  // Fills the used slots' lists, labels the first one with its question and
  // hides the unused slots.
  void fill();
  // Selects each used slot's stored answer (a prefix match; nothing stored:
  // nothing selected).
  void selectStored();
  // Slots 0, 1 and 2 are the purchase reason, industry and number of
  // employees: text and answer index (-1 when nothing is selected).
  void store(RegistrationRecord& record);

  // Throws (a CRegException pointer) the "required" message of the first
  // required question whose list has no selection.
  void checkRequired();
  // The focus to the visible list of the question whose "required" message
  // this is; false when it is none of theirs.
  bool focusByMessage(UINT messageId);

  int usedSlots() const { return static_cast<int>(slotQuestions_.size()); }

private:
  PageForm& form_;
  const BrandProfile& brand_;
  std::vector<int> slotQuestions_;      // the profile question shown in each used slot
  std::vector<CString> storedAnswers_;  // per profile question
};

// The maker's web sites as check boxes; a tick adds the site to the browser's
// bookmarks when the customer submits.
class BookmarkGroup {
public:
  BookmarkGroup(PageForm& form, const BrandProfile& brand, const RegistrationRecord& record);

  // Shows the boxes that the brand offers with their ticks from the record.
  void bind();
  // Each box's caption: its bookmark's title.
  void setCaptions();
  // The first three boxes' ticks into the record's bookmark choices.
  void store(RegistrationRecord& record) const;

private:
  PageForm& form_;
  const BrandProfile& brand_;
  std::vector<int> ticks_;
};

class AdditionalPageCore {
public:
  AdditionalPageCore(PageForm& form, const BrandProfile& brand, const RegistrationRecord& record);

  // The controls as the page opens: lists, stored answers, bookmark boxes.
  void load();
  // Back and Submit: the answers, then the bookmark choices.
  void store(RegistrationRecord& record);
  // The first step of Submit.
  void checkRequiredAnswers() { questions_.checkRequired(); }
  // After a report: the focus to the list that the message is about.
  bool focusByMessage(UINT messageId) { return questions_.focusByMessage(messageId); }

  const SurveyQuestionGroup& questions() const { return questions_; }

private:
  SurveyQuestionGroup questions_;
  BookmarkGroup bookmarks_;
};

#endif
