// The contact page without a window: the checks of "&Next>" in their order,
// the answers that stop or run the pass again, the three question flags, the
// checks while typing, what the page shows by profile, and the store whose
// order decides the order of the request's parameters.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/reg_exception.h"
#include "app/report_kind.h"
#include "data/registration_record.h"
#include "res/resource.h"
#include "string_ids.h"
#include "tables/country_table.h"
#include "tables/tests/test_profiles.h"
#include "ui/contact_page_core.h"
#include "ui/tests/fake_page_form.h"

namespace {

const TextLocale western("English_United States.1252");

// The English profile as a United States locale gives it.
class UnitedStatesEnglish : public EnglishProfile {
public:
  CString languageCode() const override { return "en_US"; }
};

class ContactPage : public testing::Test {
protected:
  void SetUp() override
  {
    testing::internal::CaptureStdout();   // the profiles' diagnostic lines
    english_.reset(new UnitedStatesEnglish);
    record_.reset(new RegistrationRecord);
    testing::internal::GetCapturedStdout();
    setResourceModule(programModule());
  }

  // Opens the page over a record whose stored country is the one given.
  void open(const char* country, const LanguageProfile* language = nullptr, const BrandProfile* brand = nullptr)
  {
    core_.reset();
    record_->addressView().setCountryText(country);
    context_.reset(new ContactContext{language ? *language : *english_, brand ? *brand : vlm_, &western});
    form_.reset(new FakeForm);
    core_.reset(new ContactPageCore(*form_, *context_, *record_));
    core_->load();
  }

  // A United States customer whose page passes.
  void fillUnitedStates()
  {
    FakeForm& f = *form_;
    f.choose(IDC_PREFIX, "Dr.");
    f.type(IDC_FIRST_NAME, "Ann");
    f.type(IDC_INITIAL, "B");
    f.type(IDC_LAST_NAME, "Smith");
    f.choose(IDC_SUFFIX, " ");
    f.type(IDC_JOB_TITLE, "Engineer");
    f.type(IDC_COMPANY, "Example Ltd.");
    f.type(IDC_STREET, "1 Main St.");
    f.type(IDC_CITY, "Springfield");
    f.choose(IDC_STATE, "Ohio");
    f.type(IDC_ZIP, "43210");
    f.type(IDC_PHONE, "614-555-0100");
    f.type(IDC_EXTENSION, "12");
    f.type(IDC_EMAIL, "ann@example.com");
    f.setChecked(IDC_EMAIL_CONSENT, 1);
  }

  // One press of "&Next>": whether it went on, the messages shown.
  bool next(const std::vector<int>& answers = {})
  {
    form_->reports.clear();
    form_->answers.assign(answers.begin(), answers.end());
    form_->focused = 0;
    bool passed = core_->validate();
    EXPECT_TRUE(form_->answers.empty()) << "questions not asked";
    return passed;
  }

  std::unique_ptr<LanguageProfile> english_;
  VlmBrand vlm_;
  std::unique_ptr<RegistrationRecord> record_;
  std::unique_ptr<ContactContext> context_;
  std::unique_ptr<FakeForm> form_;
  std::unique_ptr<ContactPageCore> core_;
};

using Ids = std::vector<UINT>;

}  // namespace

TEST_F(ContactPage, EachFailureStopsWithTheFocusOfItsMessage)
{
  struct Case {
    const char* what;
    std::function<void(FakeForm&)> change;
    UINT message;
    UINT focus;   // 0: the focus does not move
    int answer;
  };
  const Case cases[] = {
      {"no first name", [](FakeForm& f) { f.type(IDC_FIRST_NAME, ""); }, IDS_FIRST_NAME_REQUIRED, IDC_FIRST_NAME, 0},
      {"no last name", [](FakeForm& f) { f.type(IDC_LAST_NAME, " "); }, IDS_LAST_NAME_REQUIRED, IDC_LAST_NAME, 0},
      {"no prefix", [](FakeForm& f) { f.clearChoice(IDC_PREFIX); }, IDS_PREFIX_REQUIRED, IDC_PREFIX, 0},
      {"no street", [](FakeForm& f) { f.type(IDC_STREET, ""); }, IDS_ADDRESS_REQUIRED, IDC_STREET, 0},
      {"a street of digits", [](FakeForm& f) { f.type(IDC_STREET, "123"); }, IDS_ADDRESS_NEEDS_LETTERS, IDC_STREET, 0},
      {"no city", [](FakeForm& f) { f.type(IDC_CITY, ""); }, IDS_CITY_REQUIRED, IDC_CITY, 0},
      {"no state", [](FakeForm& f) { f.clearChoice(IDC_STATE); }, IDS_STATE_REQUIRED, IDC_STATE, 0},
      {"no postal code", [](FakeForm& f) { f.type(IDC_ZIP, ""); }, IDS_ZIP_REQUIRED, IDC_ZIP, 0},
      {"a hyphen after four digits", [](FakeForm& f) { f.type(IDC_ZIP, "4321-0"); },
       IDS_ZIP_FIVE_DIGITS, IDC_ZIP, answerYes},
      {"a digit in the first name", [](FakeForm& f) { f.type(IDC_FIRST_NAME, "Ann2"); },
       IDS_ALPHABETIC_ONLY, IDC_FIRST_NAME, 0},
      {"a pipe in the last name", [](FakeForm& f) { f.type(IDC_LAST_NAME, "Sm|th"); },
       IDS_FORBIDDEN_CHARACTERS, IDC_LAST_NAME, 0},
      {"a backslash in the job title", [](FakeForm& f) { f.type(IDC_JOB_TITLE, "R\\D"); },
       IDS_FORBIDDEN_CHARACTERS, IDC_JOB_TITLE, 0},
      {"a pipe in the company", [](FakeForm& f) { f.type(IDC_COMPANY, "A|B"); },
       IDS_FORBIDDEN_CHARACTERS, IDC_COMPANY, 0},
      {"a letter in the phone", [](FakeForm& f) { f.type(IDC_PHONE, "614-555-0100x12"); },
       IDS_PHONE_TOO_SHORT, IDC_PHONE, answerYes},
      {"consent without an e-mail", [](FakeForm& f) { f.type(IDC_EMAIL, ""); }, IDS_EMAIL_MISSING, IDC_EMAIL, 0},
      {"an e-mail without a dot", [](FakeForm& f) { f.type(IDC_EMAIL, "ann@example"); },
       IDS_EMAIL_FORMAT, IDC_EMAIL, answerYes},
      {"an e-mail with a blank", [](FakeForm& f) { f.type(IDC_EMAIL, "ann @example.com"); },
       IDS_EMAIL_FORMAT, IDC_EMAIL, answerYes},
      {"a hidden field keeps the focus where it was",
       [](FakeForm& f) {
         f.type(IDC_FIRST_NAME, "");
         f.show(IDC_FIRST_NAME, false);
       },
       IDS_FIRST_NAME_REQUIRED, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    record_.reset(new RegistrationRecord);
    open("United States");
    fillUnitedStates();
    c.change(*form_);
    EXPECT_FALSE(next(c.answer ? std::vector<int>{c.answer} : std::vector<int>{}));
    EXPECT_EQ(form_->reports, Ids{c.message});
    EXPECT_EQ(form_->focused, c.focus);
  }
}

TEST_F(ContactPage, QuestionsAnsweredNoRunThePassAgainUntilTheirFieldChanges)
{
  open("United States");
  fillUnitedStates();
  form_->type(IDC_ZIP, "1234");
  form_->type(IDC_PHONE, "555");
  form_->type(IDC_EMAIL, "");
  form_->setChecked(IDC_EMAIL_CONSENT, 0);
  // One press asks three questions in turn and goes on.
  EXPECT_TRUE(next({answerNo, answerNo, answerNo}));
  EXPECT_EQ(form_->reports, (Ids{IDS_ZIP_FIVE_DIGITS, IDS_PHONE_TOO_SHORT, IDS_ASK_EMAIL}));
  EXPECT_TRUE(core_->address().postalCodeAccepted());
  EXPECT_TRUE(core_->phone().accepted());
  EXPECT_TRUE(core_->emailAnswered());
  EXPECT_TRUE(next());
  EXPECT_EQ(form_->reports, Ids{});

  // Editing a field asks its question again; Yes stops at the field.
  core_->fieldChanged(IDC_ZIP);
  EXPECT_FALSE(core_->address().postalCodeAccepted());
  EXPECT_FALSE(next({answerYes}));
  EXPECT_EQ(form_->reports, Ids{IDS_ZIP_FIVE_DIGITS});
  EXPECT_EQ(form_->focused, IDC_ZIP);

  form_->type(IDC_ZIP, "43210-1234");
  core_->fieldChanged(IDC_ZIP);
  core_->fieldChanged(IDC_EMAIL);
  EXPECT_FALSE(next({answerYes}));
  EXPECT_EQ(form_->reports, Ids{IDS_ASK_EMAIL});
  EXPECT_EQ(form_->focused, IDC_EMAIL);

  core_->fieldChanged(IDC_PHONE);
  EXPECT_FALSE(next({answerYes}));
  EXPECT_EQ(form_->reports, Ids{IDS_PHONE_TOO_SHORT});
  EXPECT_EQ(form_->focused, IDC_PHONE);
  EXPECT_TRUE(next({answerNo, answerNo}));
  EXPECT_EQ(form_->reports, (Ids{IDS_PHONE_TOO_SHORT, IDS_ASK_EMAIL}));
}

TEST_F(ContactPage, TypingReportsForbiddenCharactersAndDigitsInNamesAtOnce)
{
  open("United States");
  for (UINT id : typedFields) {
    form_->reports.clear();
    form_->type(id, "a|");
    core_->fieldChanged(id);
    EXPECT_EQ(form_->reports, Ids{IDS_FORBIDDEN_CHARACTERS}) << id;
    EXPECT_EQ(form_->focused, id);
  }
  const struct {
    UINT id;
    const char* text;
    Ids reports;
  } digits[] = {
      {IDC_FIRST_NAME, "Ann2", {133}}, {IDC_LAST_NAME, "2", {133}}, {IDC_INITIAL, "2", {}},
      {IDC_CITY, "Area 51", {}},       {IDC_FIRST_NAME, "Ann", {}},
  };
  for (const auto& d : digits) {
    form_->reports.clear();
    form_->type(d.id, d.text);
    core_->fieldChanged(d.id);
    EXPECT_EQ(form_->reports, d.reports) << d.text;
  }
}

TEST_F(ContactPage, WhatThePageShowsFollowsTheProfilesAndTheCountry)
{
  open("Canada");
  EXPECT_EQ(form_->entries(IDC_PREFIX), (std::vector<CString>{"Mr.", "Ms.", "Mrs.", "Miss", "Dr."}));
  std::vector<CString> suffixes = form_->entries(IDC_SUFFIX);
  ASSERT_EQ(suffixes.size(), 10u);
  EXPECT_EQ(suffixes.front(), " ");
  EXPECT_EQ(form_->entries(IDC_COUNTRY).size(), static_cast<size_t>(countryCount));
  EXPECT_EQ(form_->selectedData(IDC_COUNTRY), canadaIndex);
  EXPECT_EQ(form_->entries(IDC_STATE).front(), "Alberta");
  EXPECT_TRUE(form_->visible(IDC_FRENCH));

  form_->setChecked(IDC_FRENCH, 1);
  form_->choose(IDC_COUNTRY, "Germany");
  core_->countryChanged();
  EXPECT_FALSE(form_->visible(IDC_FRENCH));
  EXPECT_EQ(form_->checked(IDC_FRENCH), 0);
  EXPECT_FALSE(form_->visible(IDC_STATE));
  EXPECT_FALSE(form_->visible(IDC_STATE_LABEL));
  form_->choose(IDC_COUNTRY, "Canada");
  core_->countryChanged();
  EXPECT_TRUE(form_->visible(IDC_FRENCH));
  EXPECT_EQ(form_->checked(IDC_FRENCH), 0);
  EXPECT_TRUE(form_->visible(IDC_STATE));

  // Chinese: no initial, suffix or state list; Japanese: prefectures in table order.
  std::unique_ptr<LanguageProfile> chinese = quietProfile(5);
  open("China", chinese.get());
  for (UINT id : {IDC_INITIAL, IDC_INITIAL_LABEL, IDC_SUFFIX, IDC_SUFFIX_LABEL, IDC_STATE, IDC_STATE_LABEL})
    EXPECT_FALSE(form_->visible(id)) << id;
  for (UINT id : {IDC_FIRST_NAME, IDC_LAST_NAME, IDC_PREFIX, IDC_PO_BOX, IDC_PHONE})
    EXPECT_TRUE(form_->visible(id)) << id;
  std::unique_ptr<LanguageProfile> japanese = quietProfile(4);
  open("Japan", japanese.get());
  EXPECT_EQ(form_->entries(IDC_STATE).front(), "Hokkaido");
  EXPECT_FALSE(form_->controls[IDC_PREFIX].list);
}

// A language's resource library with suffixes but without text 177: the
// list still begins with a blank entry, so a chosen suffix can be taken back.
TEST_F(ContactPage, TheSuffixListBeginsBlankWithoutText177)
{
  ResourceModule library = loadResourceLibrary("PRVLMDAN.dll");
  ASSERT_NE(library, nullptr);
  setResourceModule(library);
  ASSERT_EQ(loadText(IDS_SUFFIX_NONE), "");
  record_->nameView().setSuffixText("jun.");
  open("");
  EXPECT_EQ(form_->entries(IDC_SUFFIX), (std::vector<CString>{"", "cand.", "jun.", "sen."}));
  EXPECT_EQ(form_->text(IDC_SUFFIX), "jun.");
  form_->choose(IDC_SUFFIX, "");
  core_->store(*record_);
  EXPECT_EQ(record_->nameView().suffixText(), "");
  setResourceModule(programModule());
}

TEST_F(ContactPage, NameOrderAndRequiredNamesFollowTheLanguage)
{
  std::unique_ptr<LanguageProfile> chinese = quietProfile(5);
  open("China", chinese.get());
  EXPECT_FALSE(next());
  EXPECT_EQ(form_->reports, Ids{IDS_LAST_NAME_REQUIRED});   // the last name comes first
  open("United States");
  EXPECT_FALSE(next());
  EXPECT_EQ(form_->reports, Ids{IDS_FIRST_NAME_REQUIRED});

  // Japanese: prefix and suffix are free text and required whatever the
  // brand says; a country without states asks for none.
  std::unique_ptr<LanguageProfile> japanese = quietProfile(4);
  LenientBrand lenient;
  open("France", japanese.get(), &lenient);
  form_->type(IDC_FIRST_NAME, "Hanako");
  form_->type(IDC_LAST_NAME, "Yamada");
  form_->type(IDC_STREET, "1 rue de la Paix");
  form_->type(IDC_CITY, "Paris");
  form_->type(IDC_ZIP, "75002");
  form_->type(IDC_PHONE, "01 23 45 67 89");
  form_->type(IDC_EMAIL, "hanako@example.com");
  form_->setChecked(IDC_EMAIL_CONSENT, 1);
  EXPECT_FALSE(next());
  EXPECT_EQ(form_->reports, Ids{IDS_PREFIX_REQUIRED});
  EXPECT_EQ(form_->focused, IDC_PREFIX);
  form_->type(IDC_PREFIX, "Dr.");
  EXPECT_FALSE(next());
  EXPECT_EQ(form_->reports, Ids{606});
  EXPECT_EQ(form_->focused, IDC_SUFFIX);
  form_->type(IDC_SUFFIX, "Sama");
  EXPECT_TRUE(next());
  EXPECT_FALSE(form_->visible(IDC_STATE));

  // Free text is stored as the display texts alone.
  core_->store(*record_);
  EXPECT_EQ(record_->nameView().prefixText(), "Dr.");
  EXPECT_EQ(record_->nameView().suffixText(), "Sama");
  EXPECT_FALSE(record_->fields().has("prefix"));
  EXPECT_EQ(record_->languageCode(), "JPN");
}

TEST_F(ContactPage, TheStoreOrderIsTheOrderOfTheRequestsParameters)
{
  open("United States");
  fillUnitedStates();
  ASSERT_TRUE(next());
  core_->store(*record_);
  // Keys of one hash chain come newest first: extension, prefix, initial;
  // country, firstName; q4, email; q5, phone; q10, stateProv, zip; q11, city;
  // addr2, suffix.
  EXPECT_EQ(record_->buildQuery(),
            "extension=12&prefix=Dr%2e&initial=B&country=US&firstName=Ann&q1=en_US&lastName=Smith&q4=5&"
            "email=ann%40example%2ecom&q5=EMAILCON&phone=614%2d555%2d0100&q6=%20&q10=9&stateProv=OH&zip=43210&"
            "q11=0&city=Springfield&company=Example%20Ltd%2e&jobTitle=Engineer&addr1=1%20Main%20St%2e&addr2=%20&"
            "suffix=%20&q7=%20&q14=Ommel%201%2e20e%2e990506%20VLM");
  EXPECT_EQ(record_->nameView().prefixIndex(), 4);
  EXPECT_EQ(record_->addressView().countryIndex(), unitedStatesIndex);
  EXPECT_EQ(record_->addressView().stateText(), "Ohio");
}
