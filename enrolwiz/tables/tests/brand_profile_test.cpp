// The three brand variants through their operation table.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "string_ids.h"
#include "tables/brand_profile.h"
#include "tables/operator_data.h"

TEST(BrandProfile, TheProgramCreatesTheMakersOwnVariant)
{
  BrandProfile& b = brand();
  EXPECT_EQ(&b, &brand());
  EXPECT_EQ(b.brandCode(), "VLM");
  EXPECT_EQ(b.sectionName(), "VLM");
  EXPECT_FALSE(b.hasOwnNumbers());
}

TEST(BrandProfile, NamesAndCodesOfTheVariants)
{
  PellixBrand pellix;
  DornathBrand dornath;
  EXPECT_EQ(pellix.brandCode(), "PLX");
  EXPECT_EQ(pellix.sectionName(), "Pellix");
  EXPECT_EQ(dornath.brandCode(), "DRN");
  EXPECT_EQ(dornath.sectionName(), "Dornath");
}

TEST(BrandProfile, VlmQuestionsAndTheirModes)
{
  VlmBrand vlm;
  EXPECT_EQ(vlm.questionCount(), 6);
  // Operation 7: 0 to 2 with the flag, 3 to 5 without; never past the last.
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(vlm.isQuestionShown(i, true)) << i;
    EXPECT_FALSE(vlm.isQuestionShown(i, false)) << i;
  }
  EXPECT_TRUE(vlm.isQuestionShown(4, false));
  EXPECT_FALSE(vlm.isQuestionShown(4, true));
  EXPECT_FALSE(vlm.isQuestionShown(6, false));
  EXPECT_FALSE(vlm.isQuestionShown(6, true));
  EXPECT_FALSE(vlm.isQuestionShown(-1, true));
  EXPECT_EQ(vlm.questionLabel(0), "Please select your primary reason for purchasing this product");
  EXPECT_EQ(vlm.questionLabel(6), "");
  const int answers[] = {11, 25, 13, 5, 5, 5};
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(vlm.answerCount(i), answers[i]) << i;
  EXPECT_EQ(vlm.requiredMessageId(1), 0u);
}

TEST(BrandProfile, AnswerLabelsRunFromTheFirstId)
{
  VlmBrand vlm;
  // Operation 9.
  EXPECT_EQ(vlm.answerLabel(0, 7), "VLM Business Partner");
  EXPECT_EQ(vlm.answerLabel(1, 24), "Other");
  EXPECT_EQ(vlm.answerLabel(2, 7), "1,000-1,999");
  EXPECT_EQ(vlm.answerLabel(3, 0), "Previous Experience with VLM and/or this Product");
  EXPECT_EQ(vlm.answerLabel(1, 25), "");
  EXPECT_EQ(vlm.answerLabel(1, -1), "");
  EXPECT_EQ(vlm.answerLabel(9, 0), "");
}

TEST(BrandProfile, LastAnswerKeptLast)
{
  VlmBrand vlm;
  PellixBrand pellix;
  DornathBrand dornath;
  // Operation 10.
  for (int j = 0; j < 6; ++j) {
    EXPECT_EQ(vlm.keepsLastAnswerLast(j), j == 1) << j;
    EXPECT_EQ(dornath.keepsLastAnswerLast(j), j == 1) << j;
    EXPECT_EQ(pellix.keepsLastAnswerLast(j), j == 0 || j == 1) << j;
  }
}

TEST(BrandProfile, BookmarksOffered)
{
  VlmBrand vlm;
  PellixBrand pellix;
  // Operation 13.
  for (bool flag : {false, true}) {
    for (int i = 0; i < 3; ++i) {
      EXPECT_TRUE(vlm.isBookmarkOffered(i, flag));
      EXPECT_TRUE(pellix.isBookmarkOffered(i, flag));
    }
    EXPECT_FALSE(vlm.isBookmarkOffered(3, flag));
    EXPECT_FALSE(vlm.isBookmarkOffered(4, flag));
    EXPECT_FALSE(pellix.isBookmarkOffered(4, flag));
    EXPECT_FALSE(vlm.isBookmarkOffered(-1, flag));
  }
  EXPECT_EQ(vlm.bookmarkCount(), 3);
  EXPECT_EQ(vlm.bookmarkControl(0), UINT{IDC_BOOKMARK1});
  EXPECT_EQ(vlm.bookmarkControl(2), UINT{IDC_BOOKMARK3});
  EXPECT_EQ(vlm.bookmarkControl(3), 0u);
  EXPECT_EQ(loadText(vlm.bookmarkTitleId(0)), "Shop VLM");
  EXPECT_EQ(vlm.bookmarkTitleId(1), UINT{IDS_BOOKMARK_SERVICES});
  EXPECT_EQ(vlm.bookmarkAddressId(2), 121u);
  EXPECT_FALSE(loadText(vlm.bookmarkAddressId(0)).IsEmpty());
  EXPECT_EQ(vlm.surveyListCount(), 3);
  EXPECT_EQ(vlm.surveyListControl(1), UINT{IDC_SURVEY_LIST2});
  EXPECT_EQ(vlm.surveyLabelControl(2), UINT{IDC_SURVEY_LABEL3});
}

TEST(BrandProfile, RequirementsAreTheSameForEveryVariant)
{
  VlmBrand vlm;
  PellixBrand pellix;
  DornathBrand dornath;
  for (const BrandProfile* b : {static_cast<const BrandProfile*>(&vlm),
                                static_cast<const BrandProfile*>(&pellix),
                                static_cast<const BrandProfile*>(&dornath)}) {
    EXPECT_TRUE(b->isPrefixRequired());
    EXPECT_TRUE(b->isFirstNameRequired());
    EXPECT_FALSE(b->isInitialRequired());
    EXPECT_TRUE(b->isLastNameRequired());
    EXPECT_FALSE(b->isSuffixRequired());
    EXPECT_FALSE(b->requirement22());
    EXPECT_FALSE(b->requirement23());
    EXPECT_TRUE(b->isStreetRequired());
    EXPECT_TRUE(b->isCityRequired());
    EXPECT_TRUE(b->isStateRequired());
    EXPECT_TRUE(b->isPostalCodeRequired());
    EXPECT_TRUE(b->isCountryRequired());
    EXPECT_FALSE(b->isPhoneRequired());
    EXPECT_FALSE(b->requirement30());
    EXPECT_FALSE(b->requirement31());
    EXPECT_TRUE(b->showsPrivacyButton());
    EXPECT_TRUE(b->mayOfferFrench());
    // Operation 32: no question is ever required.
    for (int i = -1; i < 8; ++i)
      EXPECT_FALSE(b->isQuestionRequired(i)) << b->brandCode() << " " << i;
  }
}

TEST(BrandProfile, PellixHasQuestionsMessagesAndNumbersOfItsOwn)
{
  PellixBrand pellix;
  EXPECT_EQ(pellix.questionCount(), 3);
  EXPECT_EQ(pellix.answerCount(0), 29);
  EXPECT_TRUE(pellix.isQuestionShown(2, false));
  EXPECT_TRUE(pellix.isQuestionShown(2, true));
  EXPECT_FALSE(pellix.isQuestionShown(3, true));
  EXPECT_EQ(pellix.requiredMessageId(0), 111u);
  EXPECT_EQ(loadText(pellix.requiredMessageId(0)), "");
  EXPECT_EQ(loadText(pellix.requiredMessageId(1)), "Industry is a required field.");
  EXPECT_EQ(loadText(pellix.requiredMessageId(2)), "Number of Employees is a required field.");
  EXPECT_EQ(pellix.requiredMessageId(3), 0u);
  // Operations 34 and 35.
  EXPECT_TRUE(pellix.hasOwnNumbers());
  // The operator's row for France; numbers are kept with a leading blank.
  const BrandNumberRow* france = nullptr;
  for (int r = 0; r < pellixNumberCount; ++r)
    if (pellixNumbers[r].countryIndex == 51)
      france = &pellixNumbers[r];
  ASSERT_NE(france, nullptr);
  EXPECT_EQ(pellix.ownNumber(51), france->number);
  EXPECT_EQ(pellix.ownNumber(51)[0], ' ');
  EXPECT_GT(pellix.ownNumber(51).GetLength(), 1);
  EXPECT_EQ(pellix.ownNumber(158), " ");
  EXPECT_EQ(pellix.ownNumber(-1), " ");
  VlmBrand vlm;
  EXPECT_EQ(vlm.ownNumber(51), "");
}
