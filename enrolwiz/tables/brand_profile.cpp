// The three brand variants.
#include "tables/brand_profile.h"

#include <memory>

#include "string_ids.h"
#include "tables/operator_data.h"

namespace {

const int surveyLists = 3;
const UINT surveyListControls[surveyLists] = {1028, 1029, 1030};
const UINT surveyLabelControls[surveyLists] = {1112, 1114, 1115};

const int bookmarks = 3;
const UINT bookmarkControls[bookmarks] = {1021, 1005, 1004};
const UINT bookmarkTitles[bookmarks] = {IDS_BOOKMARK_SHOP, IDS_BOOKMARK_SERVICES, IDS_BOOKMARK_SOFTWARE};
const UINT bookmarkAddresses[bookmarks] = {IDS_BOOKMARK_ADDRESS_SHOP, IDS_BOOKMARK_ADDRESS_SERVICES,
                                           IDS_BOOKMARK_ADDRESS_SOFTWARE};

// Purchase reason, industry, number of employees, then three more questions
// that reuse the purchase-reason answers.
const SurveyQuestion vlmQuestions[] = {
  {IDS_QUESTION_LABEL, 11, IDS_REASON_PREV, 0},
  {IDS_QUESTION_LABEL, 25, IDS_INDUSTRY_AGRC, 0},
  {IDS_QUESTION_LABEL, 13, IDS_EMPLOYEES_1, 0},
  {IDS_QUESTION_LABEL, 5, IDS_REASON_PREV, 0},
  {IDS_QUESTION_LABEL, 5, IDS_REASON_PREV, 0},
  {IDS_QUESTION_LABEL, 5, IDS_REASON_PREV, 0},
};

// 111 has no text in the program's own string table.
const SurveyQuestion pellixQuestions[] = {
  {IDS_QUESTION_LABEL, 29, IDS_REASON_PREV, 111},
  {IDS_QUESTION_LABEL, 25, IDS_INDUSTRY_AGRC, IDS_INDUSTRY_REQUIRED},
  {IDS_QUESTION_LABEL, 13, IDS_EMPLOYEES_1, IDS_EMPLOYEES_REQUIRED},
};

template <typename T, int n>
T entry(const T (&table)[n], int i)
{
  return (i >= 0 && i < n) ? table[i] : T();
}

}  // namespace

BrandProfile::BrandProfile(const char* brandCode, const char* sectionName,
                           const SurveyQuestion* questions, int questionCount)
    : brandCode_(brandCode), sectionName_(sectionName), questions_(questions),
      questionCount_(questionCount)
{
}

const SurveyQuestion* BrandProfile::question(int i) const
{
  return (i >= 0 && i < questionCount_) ? &questions_[i] : nullptr;
}

int BrandProfile::surveyListCount() const { return surveyLists; }
UINT BrandProfile::surveyListControl(int i) const { return entry(surveyListControls, i); }
UINT BrandProfile::surveyLabelControl(int i) const { return entry(surveyLabelControls, i); }

UINT BrandProfile::requiredMessageId(int i) const
{
  const SurveyQuestion* q = question(i);
  return q ? q->requiredMessageId : 0;
}

int BrandProfile::questionCount() const { return questionCount_; }

CString BrandProfile::questionLabel(int i) const
{
  const SurveyQuestion* q = question(i);
  return q ? loadText(q->labelId) : CString();
}

int BrandProfile::answerCount(int i) const
{
  const SurveyQuestion* q = question(i);
  return q ? q->answerCount : 0;
}

CString BrandProfile::answerLabel(int i, int a) const
{
  const SurveyQuestion* q = question(i);
  if (!q || a < 0 || a >= q->answerCount)
    return CString();
  return loadText(q->firstAnswerId + static_cast<UINT>(a));
}

bool BrandProfile::mayOfferFrench() const { return true; }
int BrandProfile::bookmarkCount() const { return bookmarks; }
UINT BrandProfile::bookmarkControl(int i) const { return entry(bookmarkControls, i); }
UINT BrandProfile::bookmarkTitleId(int i) const { return entry(bookmarkTitles, i); }
UINT BrandProfile::bookmarkAddressId(int i) const { return entry(bookmarkAddresses, i); }
bool BrandProfile::isPrefixRequired() const { return true; }
bool BrandProfile::isFirstNameRequired() const { return true; }
bool BrandProfile::isInitialRequired() const { return false; }
bool BrandProfile::isLastNameRequired() const { return true; }
bool BrandProfile::isSuffixRequired() const { return false; }
bool BrandProfile::requirement22() const { return false; }
bool BrandProfile::requirement23() const { return false; }
bool BrandProfile::isStreetRequired() const { return true; }
bool BrandProfile::isCityRequired() const { return true; }
bool BrandProfile::isStateRequired() const { return true; }
bool BrandProfile::isPostalCodeRequired() const { return true; }
bool BrandProfile::isCountryRequired() const { return true; }
bool BrandProfile::isPhoneRequired() const { return false; }
bool BrandProfile::requirement30() const { return false; }
bool BrandProfile::requirement31() const { return false; }
bool BrandProfile::isQuestionRequired(int) const { return false; }
bool BrandProfile::showsPrivacyButton() const { return true; }

VlmBrand::VlmBrand() : VlmBrand("VLM", "VLM") {}

VlmBrand::VlmBrand(const char* brandCode, const char* sectionName)
    : BrandProfile(brandCode, sectionName, vlmQuestions,
                   static_cast<int>(sizeof vlmQuestions / sizeof vlmQuestions[0]))
{
}

bool VlmBrand::isQuestionShown(int i, bool flag) const
{
  if (i < 0 || i >= questionCount())
    return false;
  return flag ? i <= 2 : i >= 3;
}

bool VlmBrand::keepsLastAnswerLast(int j) const
{
  return j == 1;
}

bool VlmBrand::isBookmarkOffered(int i, bool flag) const
{
  return i >= 0 && i < bookmarkCount() && (i != 4 || flag);
}

bool VlmBrand::hasOwnNumbers() const
{
  return false;
}

CString VlmBrand::ownNumber(int) const
{
  return CString();
}

DornathBrand::DornathBrand() : VlmBrand("DRN", "Dornath") {}

PellixBrand::PellixBrand()
    : BrandProfile("PLX", "Pellix", pellixQuestions,
                   static_cast<int>(sizeof pellixQuestions / sizeof pellixQuestions[0]))
{
}

bool PellixBrand::isQuestionShown(int i, bool) const
{
  return i >= 0 && i < questionCount();
}

bool PellixBrand::keepsLastAnswerLast(int j) const
{
  return j == 0 || j == 1;
}

bool PellixBrand::isBookmarkOffered(int i, bool) const
{
  return i >= 0 && i < bookmarkCount();
}

bool PellixBrand::hasOwnNumbers() const
{
  return true;
}

CString PellixBrand::ownNumber(int countryIndex) const
{
  for (int r = 0; r < pellixNumberCount; ++r)
    if (pellixNumbers[r].countryIndex == countryIndex)
      return CString(pellixNumbers[r].number);
  return CString(" ");
}

BrandProfile& brand()
{
  static std::unique_ptr<BrandProfile> profile(new VlmBrand);
  return *profile;
}
