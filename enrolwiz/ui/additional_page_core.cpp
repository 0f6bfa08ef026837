// The additional-information page's question and bookmark groups.
#include "ui/additional_page_core.h"

#include "app/reg_exception.h"
#include "data/registration_record.h"

namespace {

// The page asks the questions and offers the bookmarks of this mode.
const bool pageMode = true;
// The record keeps the answers of the first three slots, and three ticks.
const int storedSlots = 3;
const int storedBookmarks = 3;

}  // namespace

// --- questions ----------------------------------------------------------------

SurveyQuestionGroup::SurveyQuestionGroup(PageForm& form, const BrandProfile& brand, const RegistrationRecord& record)
    : form_(form), brand_(brand)
{
  storedAnswers_.resize(static_cast<size_t>(brand.questionCount() > 0 ? brand.questionCount() : 0));
  const CString stored[storedSlots] = {record.purchaseReasonText(), record.industryText(), record.employeesText()};
  for (size_t j = 0; j < storedAnswers_.size() && j < storedSlots; ++j)
    storedAnswers_[j] = stored[j];
}

void SurveyQuestionGroup::fill()
{
  slotQuestions_.clear();
  const int slots = brand_.surveyListCount();
  for (int j = 0; j < brand_.questionCount() && usedSlots() < slots; ++j) {
    if (!brand_.isQuestionShown(j, pageMode))
      continue;
    const int slot = usedSlots();
    slotQuestions_.push_back(j);
    const UINT list = brand_.surveyListControl(slot);
    form_.show(list, true);
    if (slot == 0) {
      const UINT label = brand_.surveyLabelControl(slot);
      form_.setText(label, brand_.questionLabel(j));
      form_.show(label, true);
    }
    const int answers = brand_.answerCount(j);
    for (int k = 0; k < answers; ++k) {
      // A single blank stands for no answer; an answer without a text is
      // nothing a person could choose.
      CString answer = brand_.answerLabel(j, k);
      if (answer == " " || answer.IsEmpty())
        continue;
      const bool last = k == answers - 1 && brand_.keepsLastAnswerLast(j);
      form_.addEntry(list, answer, k, last);
    }
  }
  for (int slot = usedSlots(); slot < slots; ++slot) {
    form_.show(brand_.surveyListControl(slot), false);
    form_.show(brand_.surveyLabelControl(slot), false);
  }
}

void SurveyQuestionGroup::selectStored()
{
  for (int slot = 0; slot < usedSlots(); ++slot) {
    const CString& stored = storedAnswers_[static_cast<size_t>(slotQuestions_[static_cast<size_t>(slot)])];
    if (!stored.IsEmpty())
      form_.selectEntry(brand_.surveyListControl(slot), stored, false);
  }
}

void SurveyQuestionGroup::store(RegistrationRecord& record)
{
  for (int slot = 0; slot < usedSlots(); ++slot) {
    const UINT list = brand_.surveyListControl(slot);
    const CString text = form_.text(list);
    const int index = form_.selectedData(list);
    storedAnswers_[static_cast<size_t>(slotQuestions_[static_cast<size_t>(slot)])] = text;
    if (slot == 0)
      record.setPurchaseReason(text, index);
    else if (slot == 1)
      record.setIndustry(text, index);
    else if (slot == 2)
      record.setEmployees(text, index);
  }
}

void SurveyQuestionGroup::checkRequired()
{
  for (int slot = 0; slot < usedSlots(); ++slot) {
    const int j = slotQuestions_[static_cast<size_t>(slot)];
    const UINT list = brand_.surveyListControl(slot);
    if (brand_.isQuestionRequired(j) && form_.selectedData(list) < 0)
      throw new CRegException(brand_.requiredMessageId(j), form_.control(list));
  }
}

bool SurveyQuestionGroup::focusByMessage(UINT messageId)
{
  if (messageId == 0)
    return false;
  for (int slot = 0; slot < usedSlots(); ++slot) {
    if (brand_.requiredMessageId(slotQuestions_[static_cast<size_t>(slot)]) != messageId)
      continue;
    form_.moveFocus(form_.control(brand_.surveyListControl(slot)));
    return true;
  }
  return false;
}

// --- bookmarks ----------------------------------------------------------------

BookmarkGroup::BookmarkGroup(PageForm& form, const BrandProfile& brand, const RegistrationRecord& record)
    : form_(form), brand_(brand)
{
  for (int i = 0; i < storedBookmarks; ++i)
    ticks_.push_back(record.bookmarkChoice(i));
}

void BookmarkGroup::bind()
{
  for (int i = 0; i < brand_.bookmarkCount(); ++i) {
    const UINT box = brand_.bookmarkControl(i);
    form_.show(box, brand_.isBookmarkOffered(i, pageMode));
    if (i < storedBookmarks)
      form_.setChecked(box, ticks_[static_cast<size_t>(i)]);
  }
}

void BookmarkGroup::setCaptions()
{
  for (int i = 0; i < brand_.bookmarkCount(); ++i)
    form_.setText(brand_.bookmarkControl(i), loadText(brand_.bookmarkTitleId(i)));
}

void BookmarkGroup::store(RegistrationRecord& record) const
{
  for (int i = 0; i < storedBookmarks && i < brand_.bookmarkCount(); ++i)
    record.setBookmarkChoice(i, form_.checked(brand_.bookmarkControl(i)));
}

// --- the page -------------------------------------------------------------------

AdditionalPageCore::AdditionalPageCore(PageForm& form, const BrandProfile& brand, const RegistrationRecord& record)
    : questions_(form, brand, record), bookmarks_(form, brand, record)
{
}

void AdditionalPageCore::load()
{
  questions_.fill();
  bookmarks_.bind();
  questions_.selectStored();
  bookmarks_.setCaptions();
}

void AdditionalPageCore::store(RegistrationRecord& record)
{
  questions_.store(record);
  bookmarks_.store(record);
}
