// The contact page's logic: load, checks, answers, typing checks, store.
#include "ui/contact_page_core.h"

#include <memory>

#include "app/reg_exception.h"
#include "data/registration_record.h"
#include "res/resource.h"
#include "string_ids.h"
#include "tables/text_tests.h"

const UINT typedFields[12] = {IDC_FIRST_NAME, IDC_INITIAL, IDC_LAST_NAME, IDC_JOB_TITLE,
                              IDC_COMPANY,    IDC_PO_BOX,  IDC_STREET,    IDC_CITY,
                              IDC_ZIP,        IDC_PHONE,   IDC_EXTENSION, IDC_EMAIL};

namespace {

[[noreturn]] void fail(UINT messageId, CWnd* focus)
{
  throw new CRegException(messageId, focus);
}

struct DeleteException {
  void operator()(CRegException* e) const { e->Delete(); }
};

}  // namespace

ContactPageCore::ContactPageCore(PageForm& form, const ContactContext& context, RegistrationRecord& record)
    : form_(form),
      context_(context),
      name_(form, context, record.nameView()),
      address_(form, context, record.addressView()),
      phone_(form, context, record.phoneView()),
      jobTitle_(record.jobTitle()),
      company_(record.company()),
      email_(record.email()),
      emailContact_(record.emailContact())
{
}

void ContactPageCore::load()
{
  name_.load();
  address_.load();
  phone_.load();
  loadEdit(form_, IDC_JOB_TITLE, jobTitle_, 30);
  loadEdit(form_, IDC_COMPANY, company_, 50);
  loadEdit(form_, IDC_EMAIL, email_, 60);
  form_.setChecked(IDC_EMAIL_CONSENT, emailContact_);

  const LanguageProfile& language = context_.language;
  showField(form_, IDC_JOB_TITLE, IDC_JOB_TITLE_LABEL, language.usesJobTitle());
  showField(form_, IDC_COMPANY, IDC_COMPANY_LABEL, language.usesCompany());
  showField(form_, IDC_EMAIL, IDC_EMAIL_LABEL, language.usesEmail());
  form_.show(IDC_PRIVACY, context_.brand.showsPrivacyButton());
}

void ContactPageCore::runPass() const
{
  const TextLocale& locale = context_.textLocale();
  const LanguageProfile& language = context_.language;
  const BrandProfile& brand = context_.brand;
  // No country selected: the base format, until the country check says so.
  std::shared_ptr<const CountryFormat> country = countryFormat(address_.selectedCountry());
  country->checkNames(name_.fields(), language, brand, locale);
  country->checkAddress(address_.fields(), language, brand, locale);
  country->checkPhone(phone_.fields(), language, brand, locale);

  for (UINT id : {IDC_JOB_TITLE, IDC_COMPANY})
    if (hasForbiddenCharacters(form_.text(id), locale))
      fail(IDS_FORBIDDEN_CHARACTERS, form_.control(id));

  if (emailAnswered_)
    return;
  CString email = form_.text(IDC_EMAIL);
  bool blank = isBlankText(email, locale);
  bool consent = form_.checked(IDC_EMAIL_CONSENT) == 1;
  if (blank && consent)
    fail(IDS_EMAIL_MISSING, form_.control(IDC_EMAIL));
  if (blank)
    fail(IDS_ASK_EMAIL, form_.control(IDC_EMAIL));
  if (!hasEmailForm(email))
    fail(IDS_EMAIL_FORMAT, form_.control(IDC_EMAIL));
}

AnswerOutcome ContactPageCore::answer(UINT messageId, int answer, CWnd* focus)
{
  AnswerOutcome outcome = name_.answer(messageId);
  if (outcome == AnswerOutcome::notMine)
    outcome = address_.answer(messageId, answer);
  if (outcome == AnswerOutcome::notMine)
    outcome = phone_.answer(messageId, answer);
  if (outcome != AnswerOutcome::notMine)
    return outcome;

  switch (messageId) {
  case IDS_EMAIL_MISSING:
    form_.moveFocus(form_.control(IDC_EMAIL));
    break;
  case IDS_ASK_EMAIL:
  case IDS_EMAIL_FORMAT:
    if (answer == answerNo) {
      emailAnswered_ = true;
      return AnswerOutcome::runAgain;
    }
    form_.moveFocus(form_.control(IDC_EMAIL));
    break;
  case IDS_FORBIDDEN_CHARACTERS:
  case IDS_ALPHABETIC_ONLY:
    if (focus)
      form_.moveFocus(focus);
    break;
  default:
    break;
  }
  return AnswerOutcome::stop;
}

bool ContactPageCore::validate()
{
  for (;;) {
    std::unique_ptr<CRegException, DeleteException> failure;
    try {
      runPass();
      return true;
    } catch (CRegException* e) {
      failure.reset(e);
    }
    // Every answer that runs the pass again sets a flag that skips its check,
    // so the passes end.
    int reply = form_.report(*failure);
    if (answer(failure->messageId(), reply, failure->focusControl()) == AnswerOutcome::stop)
      return false;
  }
}

void ContactPageCore::fieldChanged(UINT id)
{
  if (id == IDC_EMAIL)
    emailAnswered_ = false;
  else if (id == IDC_ZIP)
    address_.postalCodeChanged();
  else if (id == IDC_PHONE)
    phone_.phoneChanged();

  const TextLocale& locale = context_.textLocale();
  CString text = form_.text(id);
  UINT failure = 0;
  if (hasForbiddenCharacters(text, locale))
    failure = IDS_FORBIDDEN_CHARACTERS;
  else if ((id == IDC_FIRST_NAME || id == IDC_LAST_NAME) && firstDigitPosition(text, locale) > 0)
    failure = IDS_ALPHABETIC_ONLY;
  if (!failure)
    return;
  CWnd* field = form_.control(id);
  CRegException message(failure, field);
  form_.report(message);
  form_.moveFocus(field);
}

void ContactPageCore::store(RegistrationRecord& record) const
{
  name_.store(record.nameView());
  address_.store(record.addressView(), record);
  phone_.store(record.phoneView());
  record.setJobTitle(form_.text(IDC_JOB_TITLE));
  record.setCompany(form_.text(IDC_COMPANY));
  record.setEmail(form_.text(IDC_EMAIL));
  int consent = form_.checked(IDC_EMAIL_CONSENT);
  record.setQuestion10(loadText(IDS_INSTALLATION_LOCATION));
  record.setEmailContact(consent);
  record.setQuestion11(loadText(consent == 1 ? IDS_BENEFITS_EMAIL : IDS_BENEFITS_NO_EMAIL));
  record.setQuestion4(loadText(IDS_QUESTION4));
}

CString privacyStatement()
{
  // Ids without a text (876, 878 and 880 in the program's own table) add nothing.
  CString statement = loadText(880) + loadText(875) + loadText(876);
  statement += "\n\n" + loadText(877) + loadText(878);
  statement += "\n\n" + loadText(879);
  return statement;
}
