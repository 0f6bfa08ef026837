// The name, address and phone blocks of the contact page.
#include "ui/contact_blocks.h"

#include "data/registration_record.h"
#include "res/resource.h"
#include "string_ids.h"
#include "tables/country_table.h"
#include "tables/text_tests.h"

namespace {

const int freeTextLanguageId = 4;
const int freeTextLimit = 50;
const UINT firstPrefixId = IDS_PREFIX_MR;    // 172 to 176
const UINT prefixCount = 5;
const UINT firstSuffixId = IDS_SUFFIX_NONE;  // 177 (a single blank) to 186
const UINT suffixCount = 10;

// Texts that a list leaves out: the empty text and a single blank.
bool isListable(const CString& text)
{
  return !text.IsEmpty() && text != " ";
}

// Selects the stored text (nothing is stored: nothing is selected).
void selectStored(PageForm& form, UINT id, const CString& stored, bool exact)
{
  if (!stored.IsEmpty())
    form.selectEntry(id, stored, exact);
}

AnswerOutcome stopAt(PageForm& form, UINT id)
{
  form.moveFocus(form.control(id));
  return AnswerOutcome::stop;
}

}  // namespace

void loadEdit(PageForm& form, UINT id, const CString& text, int limit)
{
  form.setText(id, text);
  form.limitText(id, limit);
}

ContactField fieldOf(PageForm& form, UINT id)
{
  return {form.text(id), form.control(id)};
}

void showField(PageForm& form, UINT id, UINT labelId, bool shown)
{
  form.show(id, shown);
  if (labelId)
    form.show(labelId, shown);
}

// --- name ---------------------------------------------------------------------

NameBlock::NameBlock(PageForm& form, const ContactContext& context, const NameView& view)
    : form_(form),
      context_(context),
      firstName_(view.firstName()),
      initial_(view.initial()),
      lastName_(view.lastName()),
      prefix_(view.prefixText()),
      suffix_(view.suffixText())
{
}

bool NameBlock::freeText() const
{
  return context_.language.languageId() == freeTextLanguageId;
}

void NameBlock::load()
{
  const LanguageProfile& language = context_.language;
  if (freeText()) {
    form_.makeFreeText(IDC_PREFIX);
    form_.makeFreeText(IDC_SUFFIX);
    loadEdit(form_, IDC_PREFIX, prefix_, freeTextLimit);
    loadEdit(form_, IDC_SUFFIX, suffix_, freeTextLimit);
  } else {
    form_.clearList(IDC_PREFIX);
    for (UINT i = 0; i < prefixCount; ++i) {
      CString text = loadText(firstPrefixId + i);
      if (isListable(text))
        form_.addEntry(IDC_PREFIX, text, static_cast<int>(i), true);
    }
    form_.clearList(IDC_SUFFIX);
    // The blank first entry lets the customer choose no suffix (or take a
    // chosen one back); a language's table without text 177 still has it,
    // as an empty entry.
    form_.addEntry(IDC_SUFFIX, loadText(firstSuffixId), 0, true);
    for (UINT i = 1; i < suffixCount; ++i) {
      CString text = loadText(firstSuffixId + i);
      if (isListable(text))
        form_.addEntry(IDC_SUFFIX, text, static_cast<int>(i), true);
    }
    form_.limitText(IDC_PREFIX, 10);
    form_.limitText(IDC_SUFFIX, 20);
    selectStored(form_, IDC_PREFIX, prefix_, false);
    selectStored(form_, IDC_SUFFIX, suffix_, false);
  }
  loadEdit(form_, IDC_FIRST_NAME, firstName_, 30);
  loadEdit(form_, IDC_INITIAL, initial_, 1);
  loadEdit(form_, IDC_LAST_NAME, lastName_, 30);

  showField(form_, IDC_FIRST_NAME, IDC_FIRST_NAME_LABEL, language.usesFirstName());
  showField(form_, IDC_INITIAL, IDC_INITIAL_LABEL, language.usesInitial());
  showField(form_, IDC_LAST_NAME, 0, language.usesLastName());   // its label has no id
  showField(form_, IDC_PREFIX, IDC_PREFIX_LABEL, language.usesPrefix());
  showField(form_, IDC_SUFFIX, IDC_SUFFIX_LABEL, language.usesSuffix());
}

NameFields NameBlock::fields() const
{
  NameFields f;
  f.firstName = fieldOf(form_, IDC_FIRST_NAME);
  f.initial = fieldOf(form_, IDC_INITIAL);
  f.lastName = fieldOf(form_, IDC_LAST_NAME);
  f.prefix = fieldOf(form_, IDC_PREFIX);
  f.suffix = fieldOf(form_, IDC_SUFFIX);
  return f;
}

AnswerOutcome NameBlock::answer(UINT messageId)
{
  switch (messageId) {
  case IDS_FIRST_NAME_REQUIRED:
    return stopAt(form_, IDC_FIRST_NAME);
  case IDS_LAST_NAME_REQUIRED:
    return stopAt(form_, IDC_LAST_NAME);
  case IDS_PREFIX_REQUIRED:
    return stopAt(form_, IDC_PREFIX);
  case suffixRequiredMessage:
    return stopAt(form_, IDC_SUFFIX);
  default:
    return AnswerOutcome::notMine;
  }
}

void NameBlock::store(NameView& view) const
{
  view.setFirstName(form_.text(IDC_FIRST_NAME));
  view.setInitial(form_.text(IDC_INITIAL));
  view.setLastName(form_.text(IDC_LAST_NAME));
  if (freeText()) {
    view.setPrefixText(form_.text(IDC_PREFIX));
    view.setSuffixText(form_.text(IDC_SUFFIX));
  } else {
    view.setPrefix(form_.text(IDC_PREFIX), form_.selectedData(IDC_PREFIX));
    view.setSuffix(form_.text(IDC_SUFFIX), form_.selectedData(IDC_SUFFIX));
  }
}

// --- address ------------------------------------------------------------------

AddressBlock::AddressBlock(PageForm& form, const ContactContext& context, const AddressView& view)
    : form_(form),
      context_(context),
      poBox_(view.addr2()),
      street_(view.addr1()),
      city_(view.city()),
      postalCode_(view.zip()),
      country_(view.countryText()),
      state_(view.stateText()),
      french_(view.french())
{
}

void AddressBlock::load()
{
  const LanguageProfile& language = context_.language;
  loadEdit(form_, IDC_PO_BOX, poBox_, 50);
  loadEdit(form_, IDC_STREET, street_, 50);
  loadEdit(form_, IDC_CITY, city_, 40);
  loadEdit(form_, IDC_ZIP, postalCode_, 10);

  form_.clearList(IDC_COUNTRY);
  for (int i = 0; i < countryCount; ++i) {
    CString name = countryName(i);
    if (isListable(name))
      form_.addEntry(IDC_COUNTRY, name, i, false);
  }
  form_.limitText(IDC_COUNTRY, 20);
  if (country_.IsEmpty() || !form_.selectEntry(IDC_COUNTRY, country_, true))
    form_.selectEntry(IDC_COUNTRY, countryName(defaultCountry()->countryIndex()), true);

  int country = selectedCountry();
  form_.setChecked(IDC_FRENCH, french_);
  showFrenchBox(country);
  fillStates(*countryFormat(country));
  form_.limitText(IDC_STATE, 30);
  selectStored(form_, IDC_STATE, state_, true);

  showField(form_, IDC_PO_BOX, IDC_PO_BOX_LABEL, language.usesPoBox());
  showField(form_, IDC_STREET, IDC_STREET_LABEL, language.usesStreet());
  showField(form_, IDC_CITY, IDC_CITY_LABEL, language.usesCity());
  showField(form_, IDC_ZIP, IDC_ZIP_LABEL, language.usesPostalCode());
  showField(form_, IDC_COUNTRY, IDC_COUNTRY_LABEL, language.usesCountry());
}

int AddressBlock::selectedCountry() const
{
  return form_.selectedData(IDC_COUNTRY);
}

void AddressBlock::fillStates(const CountryFormat& country)
{
  // A country without a state list shows none, whatever the language says.
  bool used = context_.language.usesStateList(country) && country.stateCount() > 0;
  form_.clearList(IDC_STATE);
  if (used) {
    // Japan's prefectures keep their table order for Japanese customers.
    bool inTableOrder = context_.language.languageCode() == "JPN";
    const TextLocale& locale = context_.textLocale();
    for (int i = 0; i < country.stateCount(); ++i) {
      CString name = country.stateName(i);
      if (!isBlankText(name, locale))
        form_.addEntry(IDC_STATE, name, i, inTableOrder);
    }
  }
  showField(form_, IDC_STATE, IDC_STATE_LABEL, used);
}

void AddressBlock::showFrenchBox(int countryIndex)
{
  bool offered = countryIndex == canadaIndex && context_.language.mayOfferFrench() &&
                 context_.brand.mayOfferFrench();
  form_.show(IDC_FRENCH, offered);
  // A hidden box keeps no tick, so that it is never stored for another country.
  if (offered)
    form_.enable(IDC_FRENCH, true);
  else
    form_.setChecked(IDC_FRENCH, 0);
}

void AddressBlock::countryChanged()
{
  int country = selectedCountry();
  fillStates(*countryFormat(country));
  showFrenchBox(country);
}

AddressFields AddressBlock::fields() const
{
  AddressFields f;
  f.poBox = fieldOf(form_, IDC_PO_BOX);
  f.street = fieldOf(form_, IDC_STREET);
  f.city = fieldOf(form_, IDC_CITY);
  f.state = fieldOf(form_, IDC_STATE);
  f.postalCode = fieldOf(form_, IDC_ZIP);
  f.countryList = form_.control(IDC_COUNTRY);
  f.countrySelected = selectedCountry() >= 0;
  f.postalCodeAccepted = postalCodeAccepted_;
  return f;
}

AnswerOutcome AddressBlock::answer(UINT messageId, int answer)
{
  switch (messageId) {
  case IDS_ADDRESS_REQUIRED:
  case IDS_ADDRESS_NEEDS_LETTERS:
    return stopAt(form_, IDC_STREET);
  case IDS_CITY_REQUIRED:
    return stopAt(form_, IDC_CITY);
  case IDS_STATE_REQUIRED:
    return stopAt(form_, IDC_STATE);
  case IDS_ZIP_REQUIRED:
    return stopAt(form_, IDC_ZIP);
  case IDS_COUNTRY_REQUIRED:
    return stopAt(form_, IDC_COUNTRY);
  case IDS_ZIP_FIVE_DIGITS:
  case IDS_ZIP_TOO_FEW_CHARACTERS:
  case IDS_ZIP_TOO_FEW_DIGITS:
    if (answer == answerNo) {
      postalCodeAccepted_ = true;
      return AnswerOutcome::runAgain;
    }
    return stopAt(form_, IDC_ZIP);
  default:
    return AnswerOutcome::notMine;
  }
}

void AddressBlock::store(AddressView& view, RegistrationRecord& record) const
{
  view.setAddr2(form_.text(IDC_PO_BOX));
  view.setAddr1(form_.text(IDC_STREET));
  view.setCity(form_.text(IDC_CITY));
  view.setZip(form_.text(IDC_ZIP));
  int country = selectedCountry();
  view.setCountry(form_.text(IDC_COUNTRY), country);
  view.setFrench(form_.checked(IDC_FRENCH));
  record.setLanguageCode(context_.language.languageCode());
  view.setState(form_.text(IDC_STATE), countryFormat(country)->stateCode(form_.selectedData(IDC_STATE)));
}

// --- phone --------------------------------------------------------------------

PhoneBlock::PhoneBlock(PageForm& form, const ContactContext& context, const PhoneView& view)
    : form_(form), context_(context), phone_(view.phone()), extension_(view.extension())
{
}

void PhoneBlock::load()
{
  loadEdit(form_, IDC_PHONE, phone_, 20);
  loadEdit(form_, IDC_EXTENSION, extension_, 5);
  // The phone's only flag in the language tables is its digit check.
  bool used = context_.language.checksPhoneDigits();
  showField(form_, IDC_PHONE, IDC_PHONE_LABEL, used);
  showField(form_, IDC_EXTENSION, IDC_EXTENSION_LABEL, used);
}

PhoneFields PhoneBlock::fields() const
{
  PhoneFields f;
  f.phone = fieldOf(form_, IDC_PHONE);
  f.accepted = accepted_;
  return f;
}

AnswerOutcome PhoneBlock::answer(UINT messageId, int answer)
{
  if (messageId == IDS_PHONE_REQUIRED)
    return stopAt(form_, IDC_PHONE);
  if (messageId != IDS_PHONE_TOO_SHORT)
    return AnswerOutcome::notMine;
  if (answer == answerNo) {
    accepted_ = true;
    return AnswerOutcome::runAgain;
  }
  return stopAt(form_, IDC_PHONE);
}

void PhoneBlock::store(PhoneView& view) const
{
  view.setPhone(form_.text(IDC_PHONE));
  view.setExtension(form_.text(IDC_EXTENSION));
}
