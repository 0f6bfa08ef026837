// The survey code tables: per answer the code the request carries, the number
// the printed form carries, and the string-table id of its label.
#ifndef ENROLWIZ_DATA_SURVEY_CODES_H
#define ENROLWIZ_DATA_SURVEY_CODES_H

#include "framework/cstring.h"

struct SurveyCode {
  const char* code;
  int formNumber;
  UINT labelId;
};

struct SurveyCodeTable {
  const SurveyCode* rows;
  int count;

  const SurveyCode* row(int index) const { return (index >= 0 && index < count) ? &rows[index] : nullptr; }
  CString code(int index) const;          // empty out of range
  CString formNumber(int index) const;    // decimal text, empty out of range
};

extern const SurveyCodeTable purchaseReasons;   // 11 rows
extern const SurveyCodeTable industries;        // 25 rows
extern const SurveyCodeTable employeeCounts;    // 13 rows

#endif
