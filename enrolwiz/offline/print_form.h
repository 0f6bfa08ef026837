// PrintForm: the lines of the mail-in registration form, built fresh from the
// record and the system information for every print.
#ifndef ENROLWIZ_OFFLINE_PRINT_FORM_H
#define ENROLWIZ_OFFLINE_PRINT_FORM_H

#include "framework/collections.h"

class RegistrationRecord;
class SystemInfo;

class PrintForm {
public:
  // Empties lines and fills them: text 582, the mailing address of the
  // customer's country, the products, then one numbered line per value
  // ("32:" + the first name), in the order the maker's staff key them in.
  static void build(CStringList& lines);
  static void build(CStringList& lines, const RegistrationRecord& record, const SystemInfo& system);
};

#endif
