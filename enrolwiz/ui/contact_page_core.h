// ContactPageCore: what the contact page does, over a PageForm. It owns the
// three field blocks and the page's own fields (job title, company, e-mail,
// the consent box), fills the controls, runs the checks of "&Next>" with their
// answers, checks a field as it is typed, and stores the page into the record.
#ifndef ENROLWIZ_UI_CONTACT_PAGE_CORE_H
#define ENROLWIZ_UI_CONTACT_PAGE_CORE_H

#include "ui/contact_blocks.h"

class ContactPageCore {
public:
  // Reads the page's values from the record (the blocks read their views).
  ContactPageCore(PageForm& form, const ContactContext& context, RegistrationRecord& record);

  // Fills the controls, hiding the fields that the profiles do not use.
  void load();

  // One pass of the checks in their order; the first failure is thrown as a
  // CRegException pointer.
  void runPass() const;
  // The answer handler: stop (the focus moved to the field when it is
  // visible) or accept the value and run the pass again.
  AnswerOutcome answer(UINT messageId, int answer, CWnd* focus);
  // "&Next>": passes until one completes (true) or an answer stops (false).
  bool validate();

  // An edit field changed: its question flag is cleared and its text checked
  // at once (forbidden characters; digits in the first and last name).
  void fieldChanged(UINT id);
  void countryChanged() { address_.countryChanged(); }

  // The store of "&Next>": the blocks, the page's fields, the fixed answer codes.
  void store(RegistrationRecord& record) const;

  bool emailAnswered() const { return emailAnswered_; }
  const AddressBlock& address() const { return address_; }
  const PhoneBlock& phone() const { return phone_; }

private:
  PageForm& form_;
  const ContactContext& context_;
  NameBlock name_;
  AddressBlock address_;
  PhoneBlock phone_;
  CString jobTitle_, company_, email_;
  int emailContact_;
  bool emailAnswered_ = false;
};

// The edit fields whose changes are checked as they are typed.
extern const UINT typedFields[12];

// The privacy statement: texts 880 (when there is one), 875 and 876, then
// 877 and 878, then 879, the three paragraphs joined by two line feeds each.
CString privacyStatement();

#endif
