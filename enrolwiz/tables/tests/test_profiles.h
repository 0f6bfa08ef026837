// Language profiles and brands for the tests of the checks: profiles made
// without their diagnostic lines, and a brand that requires nothing.
#ifndef ENROLWIZ_TABLES_TESTS_TEST_PROFILES_H
#define ENROLWIZ_TABLES_TESTS_TEST_PROFILES_H

#include <gtest/gtest.h>

#include <memory>

#include "framework/resources.h"
#include "tables/brand_profile.h"
#include "tables/language_profile.h"

inline std::unique_ptr<LanguageProfile> quietProfile(int languageId)
{
  testing::internal::CaptureStdout();
  std::unique_ptr<LanguageProfile> profile(makeLanguageProfile(languageId));
  testing::internal::GetCapturedStdout();
  setResourceModule(programModule());
  return profile;
}

class LenientBrand : public VlmBrand {
public:
  bool isPrefixRequired() const override { return false; }
  bool isFirstNameRequired() const override { return false; }
  bool isLastNameRequired() const override { return false; }
  bool isStreetRequired() const override { return false; }
  bool isCityRequired() const override { return false; }
  bool isStateRequired() const override { return false; }
  bool isPostalCodeRequired() const override { return false; }
  bool isCountryRequired() const override { return false; }
};

class StrictBrand : public VlmBrand {
public:
  bool isInitialRequired() const override { return true; }
  bool isPhoneRequired() const override { return true; }
};

#endif
