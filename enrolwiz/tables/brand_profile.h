// BrandProfile: what differs between the maker's brands (registry section,
// brand code, survey questions, bookmarks, required fields, own registration
// numbers). Three variants; the program creates the "VLM" one.
#ifndef ENROLWIZ_TABLES_BRAND_PROFILE_H
#define ENROLWIZ_TABLES_BRAND_PROFILE_H

#include "framework/cstring.h"

struct SurveyQuestion {
  UINT labelId;
  int answerCount;
  UINT firstAnswerId;    // answer a has the label id firstAnswerId + a
  UINT requiredMessageId;   // 0: none
};

class BrandProfile {
public:
  virtual ~BrandProfile() = default;

  const CString& brandCode() const { return brandCode_; }
  const CString& sectionName() const { return sectionName_; }

  // The operation table; i, j are 0-based indexes, out of range gives 0,
  // false or the empty text.
  virtual int surveyListCount() const;                          // 1
  virtual UINT surveyListControl(int i) const;                  // 2
  virtual UINT surveyLabelControl(int i) const;                 // 3
  virtual UINT requiredMessageId(int i) const;                  // 4
  virtual int questionCount() const;                            // 5
  virtual CString questionLabel(int i) const;                   // 6
  virtual bool isQuestionShown(int i, bool flag) const = 0;     // 7
  virtual int answerCount(int i) const;                         // 8
  virtual CString answerLabel(int i, int a) const;              // 9
  virtual bool keepsLastAnswerLast(int j) const = 0;            // 10
  virtual bool mayOfferFrench() const;                          // 11
  virtual int bookmarkCount() const;                            // 12
  virtual bool isBookmarkOffered(int i, bool flag) const = 0;   // 13
  virtual UINT bookmarkControl(int i) const;                    // 14
  virtual UINT bookmarkTitleId(int i) const;                    // 15
  virtual UINT bookmarkAddressId(int i) const;                  // 16
  virtual bool isPrefixRequired() const;                        // 17
  virtual bool isFirstNameRequired() const;                     // 18
  virtual bool isInitialRequired() const;                       // 19
  virtual bool isLastNameRequired() const;                      // 20
  virtual bool isSuffixRequired() const;                        // 21
  virtual bool requirement22() const;                           // 22 (no reader)
  virtual bool requirement23() const;                           // 23 (no reader)
  virtual bool isStreetRequired() const;                        // 24
  virtual bool isCityRequired() const;                          // 25
  virtual bool isStateRequired() const;                         // 26
  virtual bool isPostalCodeRequired() const;                    // 27
  virtual bool isCountryRequired() const;                       // 28
  virtual bool isPhoneRequired() const;                         // 29
  virtual bool requirement30() const;                           // 30 (no reader)
  virtual bool requirement31() const;                           // 31 (no reader)
  virtual bool isQuestionRequired(int i) const;                 // 32
  virtual bool showsPrivacyButton() const;                      // 33
  virtual bool hasOwnNumbers() const = 0;                       // 34
  virtual CString ownNumber(int countryIndex) const = 0;        // 35

protected:
  BrandProfile(const char* brandCode, const char* sectionName, const SurveyQuestion* questions,
               int questionCount);

  const SurveyQuestion* question(int i) const;

private:
  CString brandCode_;
  CString sectionName_;
  const SurveyQuestion* questions_;
  int questionCount_;
};

// The maker's own brand.
class VlmBrand : public BrandProfile {
public:
  VlmBrand();
  bool isQuestionShown(int i, bool flag) const override;
  bool keepsLastAnswerLast(int j) const override;
  bool isBookmarkOffered(int i, bool flag) const override;
  bool hasOwnNumbers() const override;
  CString ownNumber(int countryIndex) const override;

protected:
  VlmBrand(const char* brandCode, const char* sectionName);
};

class PellixBrand : public BrandProfile {
public:
  PellixBrand();
  bool isQuestionShown(int i, bool flag) const override;
  bool keepsLastAnswerLast(int j) const override;
  bool isBookmarkOffered(int i, bool flag) const override;
  bool hasOwnNumbers() const override;
  CString ownNumber(int countryIndex) const override;
};

// Behaves as the maker's own brand under its own names.
class DornathBrand : public VlmBrand {
public:
  DornathBrand();
};

// The brand singleton, created on first call as the "VLM" variant.
BrandProfile& brand();

#endif
