// The contact page's three field blocks: name, address and phone. Each reads
// its view of the record when the page is made, fills its controls when the
// page opens, gives its fields to the country's checks, answers the messages
// of those checks, and stores its controls back into its view.
#ifndef ENROLWIZ_UI_CONTACT_BLOCKS_H
#define ENROLWIZ_UI_CONTACT_BLOCKS_H

#include "tables/brand_profile.h"
#include "tables/country_format.h"
#include "tables/language_profile.h"
#include "ui/page_form.h"

class NameView;
class AddressView;
class PhoneView;
class RegistrationRecord;

// The profiles that decide what the page shows and checks, and the locale of
// the text tests (null: the locale in force).
struct ContactContext {
  const LanguageProfile& language;
  const BrandProfile& brand;
  const TextLocale* locale = nullptr;

  const TextLocale& textLocale() const { return locale ? *locale : TextLocale::current(); }
};

// The user's answers to questions (IDYES, IDNO).
const int answerYes = 6;
const int answerNo = 7;

// What an answer handler makes of a report: not one of its messages; the
// pass ends (the focus moved); or the value is accepted and the pass runs again.
enum class AnswerOutcome { notMine, stop, runAgain };

class NameBlock {
public:
  NameBlock(PageForm& form, const ContactContext& context, const NameView& view);

  void load();
  NameFields fields() const;
  AnswerOutcome answer(UINT messageId);
  void store(NameView& view) const;

private:
  // Language id 4 takes prefix and suffix as free text.
  bool freeText() const;

  PageForm& form_;
  const ContactContext& context_;
  CString firstName_, initial_, lastName_, prefix_, suffix_;
};

class AddressBlock {
public:
  AddressBlock(PageForm& form, const ContactContext& context, const AddressView& view);

  void load();
  AddressFields fields() const;
  AnswerOutcome answer(UINT messageId, int answer);
  // Stores into the view, and the active language's code into the record.
  void store(AddressView& view, RegistrationRecord& record) const;

  // A new country: its state list, and the French box by the Canada rule.
  void countryChanged();
  // A change of the postal code asks its questions again.
  void postalCodeChanged() { postalCodeAccepted_ = false; }
  bool postalCodeAccepted() const { return postalCodeAccepted_; }
  // The country index of the selected entry, -1 when none.
  int selectedCountry() const;

private:
  void fillStates(const CountryFormat& country);
  void showFrenchBox(int countryIndex);

  PageForm& form_;
  const ContactContext& context_;
  CString poBox_, street_, city_, postalCode_, country_, state_;
  int french_;
  bool postalCodeAccepted_ = false;
};

class PhoneBlock {
public:
  PhoneBlock(PageForm& form, const ContactContext& context, const PhoneView& view);

  void load();
  PhoneFields fields() const;
  AnswerOutcome answer(UINT messageId, int answer);
  void store(PhoneView& view) const;

  // A change of the phone number asks its question again.
  void phoneChanged() { accepted_ = false; }
  bool accepted() const { return accepted_; }

private:
  PageForm& form_;
  const ContactContext& context_;
  CString phone_, extension_;
  bool accepted_ = false;
};

// Puts a text into an edit and limits its length.
void loadEdit(PageForm& form, UINT id, const CString& text, int limit);
// A field's text and control, as the checks see it.
ContactField fieldOf(PageForm& form, UINT id);
// Shows or hides a control and its label (labelId 0: none).
void showField(PageForm& form, UINT id, UINT labelId, bool shown);

#endif
