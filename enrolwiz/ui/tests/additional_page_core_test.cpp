// The additional-information page without a window, for what the brand
// variants of the program never show: fewer questions than lists, a required
// answer with its focus, a bookmark that is not offered, the Pellix lists.
// The maker's own brand is played through by the wizard's scenarios.
#include <gtest/gtest.h>

#include <memory>

#include "data/registration_record.h"
#include "res/resource.h"
#include "string_ids.h"
#include "tables/tests/test_profiles.h"
#include "ui/additional_page_core.h"
#include "ui/tests/fake_page_form.h"

namespace {

// Only the industry is asked, and it must be answered; the second bookmark
// is not offered.
class IndustryOnlyBrand : public VlmBrand {
public:
  bool isQuestionShown(int i, bool flag) const override { return flag && i == 1; }
  bool isQuestionRequired(int i) const override { return i == 1; }
  UINT requiredMessageId(int i) const override { return i == 1 ? IDS_INDUSTRY_REQUIRED : 0; }
  bool isBookmarkOffered(int i, bool flag) const override { return flag && i != 1; }
};

// Pellix with its industry and employees questions required.
class RequiringPellix : public PellixBrand {
public:
  bool isQuestionRequired(int i) const override { return i >= 1; }
};

class AdditionalPage : public testing::Test {
protected:
  void SetUp() override
  {
    testing::internal::CaptureStdout();
    record_.reset(new RegistrationRecord);
    testing::internal::GetCapturedStdout();
    setResourceModule(programModule());
  }

  void open(const BrandProfile& brand)
  {
    core_.reset();
    form_.reset(new FakeForm({{IDC_SURVEY_LIST1, true}, {IDC_SURVEY_LIST2, true}, {IDC_SURVEY_LIST3, false}}));
    core_.reset(new AdditionalPageCore(*form_, brand, *record_));
    core_->load();
  }

  std::unique_ptr<RegistrationRecord> record_;
  std::unique_ptr<FakeForm> form_;
  std::unique_ptr<AdditionalPageCore> core_;
};

TEST_F(AdditionalPage, FewerQuestionsThanListsHideTheRestAndARequiredAnswerTakesTheFocus)
{
  IndustryOnlyBrand brand;
  record_->setIndustryText("Nothing like it");
  record_->setBookmarkChoice(2, 1);
  open(brand);
  FakeForm& f = *form_;

  // The industry in the first list, labelled with the question; "Other" last.
  EXPECT_EQ(core_->questions().usedSlots(), 1);
  EXPECT_TRUE(f.visible(IDC_SURVEY_LIST1));
  EXPECT_TRUE(f.visible(IDC_SURVEY_LABEL));
  EXPECT_EQ(f.text(IDC_SURVEY_LABEL), loadText(IDS_QUESTION_LABEL));
  for (UINT hidden : {IDC_SURVEY_LIST2, IDC_SURVEY_LABEL2, IDC_SURVEY_LIST3, IDC_SURVEY_LABEL3})
    EXPECT_FALSE(f.visible(hidden)) << hidden;
  std::vector<CString> entries = f.entries(IDC_SURVEY_LIST1);
  ASSERT_EQ(entries.size(), 25u);
  EXPECT_EQ(entries.front(), "Agriculture");
  EXPECT_EQ(entries[23], "Travel/Entertainment");
  EXPECT_EQ(entries.back(), "Other");
  // A stored answer that is no entry selects nothing.
  EXPECT_EQ(f.text(IDC_SURVEY_LIST1), "");

  // Bookmark boxes: captions, the one not offered hidden, ticks from the record.
  EXPECT_EQ(f.text(IDC_BOOKMARK1), "Shop VLM");
  EXPECT_EQ(f.text(IDC_BOOKMARK3), "VLM Software");
  EXPECT_TRUE(f.visible(IDC_BOOKMARK1));
  EXPECT_FALSE(f.visible(IDC_BOOKMARK2));
  EXPECT_EQ(f.checked(IDC_BOOKMARK1), 0);
  EXPECT_EQ(f.checked(IDC_BOOKMARK3), 1);

  // Unanswered: message 112 about the list, which then gets the focus.
  try {
    core_->checkRequiredAnswers();
    ADD_FAILURE() << "no message";
  } catch (CRegException* failure) {
    EXPECT_EQ(failure->messageId(), static_cast<UINT>(IDS_INDUSTRY_REQUIRED));
    EXPECT_EQ(failure->focusControl(), fakeControl(IDC_SURVEY_LIST1));
    EXPECT_TRUE(core_->focusByMessage(failure->messageId()));
    EXPECT_EQ(f.focused, static_cast<UINT>(IDC_SURVEY_LIST1));
    failure->Delete();
  }
  EXPECT_FALSE(core_->focusByMessage(IDS_EMPLOYEES_REQUIRED));

  // Answered, it passes; the ticks are stored.
  f.choose(IDC_SURVEY_LIST1, "Insurance");
  f.setChecked(IDC_BOOKMARK1, 1);
  f.setChecked(IDC_BOOKMARK3, 0);
  EXPECT_NO_THROW(core_->checkRequiredAnswers());
  core_->store(*record_);
  EXPECT_EQ(record_->bookmarkChoice(0), 1);
  EXPECT_EQ(record_->bookmarkChoice(2), 0);
}

TEST_F(AdditionalPage, PellixListsKeepTheirLastAnswersLastAndAskForEveryRequiredOne)
{
  RequiringPellix brand;
  record_->setPurchaseReasonText("Price");
  record_->setEmployeesText("5,");
  open(brand);
  FakeForm& f = *form_;

  // 29 purchase answers of which eleven have texts (the last one, which the
  // list would keep last, has none).
  std::vector<CString> reasons = f.entries(IDC_SURVEY_LIST1);
  ASSERT_EQ(reasons.size(), 11u);
  EXPECT_EQ(reasons.front(), "Advertising/Trade Press");
  EXPECT_EQ(f.text(IDC_SURVEY_LIST1), "Price");
  EXPECT_EQ(f.entries(IDC_SURVEY_LIST2).back(), "Other");
  // The employees list keeps the table's order; a stored prefix selects.
  std::vector<CString> employees = f.entries(IDC_SURVEY_LIST3);
  ASSERT_EQ(employees.size(), 13u);
  EXPECT_EQ(employees.front(), "1-9");
  EXPECT_EQ(employees.back(), "Unknown");
  EXPECT_EQ(f.text(IDC_SURVEY_LIST3), "5,000+");
  for (UINT shown : {IDC_SURVEY_LIST1, IDC_SURVEY_LIST2, IDC_SURVEY_LIST3, IDC_SURVEY_LABEL})
    EXPECT_TRUE(f.visible(shown)) << shown;

  // The industry first, then the employees once the industry is answered.
  f.clearChoice(IDC_SURVEY_LIST3);
  for (UINT expected : {IDS_INDUSTRY_REQUIRED, IDS_EMPLOYEES_REQUIRED}) {
    try {
      core_->checkRequiredAnswers();
      ADD_FAILURE() << "no message " << expected;
    } catch (CRegException* failure) {
      EXPECT_EQ(failure->messageId(), expected);
      failure->Delete();
    }
    f.choose(IDC_SURVEY_LIST2, "Banking");
  }
  // A hidden list never takes the focus.
  f.show(IDC_SURVEY_LIST3, false);
  core_->focusByMessage(IDS_EMPLOYEES_REQUIRED);
  EXPECT_EQ(f.focused, 0u);
}

}  // namespace
