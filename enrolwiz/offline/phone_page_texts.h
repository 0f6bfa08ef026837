// What the phone registration page shows, taken from the record, the system
// information and the string table when the page is made.
#ifndef ENROLWIZ_OFFLINE_PHONE_PAGE_TEXTS_H
#define ENROLWIZ_OFFLINE_PHONE_PAGE_TEXTS_H

#include "framework/cstring.h"

class RegistrationRecord;
class SystemInfo;

struct PhonePageTexts {
  CString heading;        // text 588, text 589, the country's registration number
  CString productName;    // "prodName"
  CString products;       // "prod1" ... "prodN" joined by blanks, trimmed
  CString email;
  CString emailMessage;   // text 163, or 164 when the e-mail contact flag is 0
  CString purchaseReason;
  CString industry;
  CString employees;
  CString osName;         // "q2"
  CString osVersion;      // "q3"
  CString installationLocation;   // "q10"
  CString benefits;       // "q11"
  CString clientNumber;   // "q13"
  CString version;        // text 562
};

PhonePageTexts phonePageTexts(const RegistrationRecord& record, const SystemInfo& system);

#endif
