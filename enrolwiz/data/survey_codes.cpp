// The purchase-reason, industry and number-of-employees tables.
#include "data/survey_codes.h"

#include "string_ids.h"

namespace {

const SurveyCode reasonRows[] = {
  {"PREV", 6, IDS_REASON_PREV}, {"RECM", 8, IDS_REASON_RECM}, {"ADVR", 1, IDS_REASON_ADVR},
  {"EVAL", 3, IDS_REASON_EVAL}, {"AOTH", 2, IDS_REASON_AOTH}, {"SREP", 9, IDS_REASON_SREP},
  {"VADD", 11, IDS_REASON_VADD}, {"VBP", 4, IDS_REASON_VBP}, {"DEMO", 10, IDS_REASON_DEMO},
  {"STND", 5, IDS_REASON_STND}, {"PRCE", 7, IDS_REASON_PRCE},
};

const SurveyCode industryRows[] = {
  {"AGRC", 1, IDS_INDUSTRY_AGRC}, {"BANK", 2, IDS_INDUSTRY_BANK}, {"CSTR", 5, IDS_INDUSTRY_CSTR},
  {"CONS", 3, IDS_INDUSTRY_CONS}, {"CPRD", 4, IDS_INDUSTRY_CPRD}, {"EDUC", 6, IDS_INDUSTRY_EDUC},
  {"GOVF", 9, IDS_INDUSTRY_GOVF}, {"FINL", 7, IDS_INDUSTRY_FINL}, {"GOIL", 8, IDS_INDUSTRY_GOIL},
  {"GOVT", 10, IDS_INDUSTRY_GOVT}, {"HCAR", 11, IDS_INDUSTRY_HCAR}, {"HTEC", 12, IDS_INDUSTRY_HTEC},
  {"INDP", 13, IDS_INDUSTRY_INDP}, {"INSU", 14, IDS_INDUSTRY_INSU}, {"MANF", 15, IDS_INDUSTRY_MANF},
  {"MKTG", 16, IDS_INDUSTRY_MKTG}, {"NONP", 17, IDS_INDUSTRY_NONP}, {"PROF", 18, IDS_INDUSTRY_PROF},
  {"PUBL", 19, IDS_INDUSTRY_PUBL}, {"REAL", 20, IDS_INDUSTRY_REAL}, {"RETL", 21, IDS_INDUSTRY_RETL},
  {"TELE", 22, IDS_INDUSTRY_TELE}, {"TRAN", 23, IDS_INDUSTRY_TRAN}, {"TRAV", 24, IDS_INDUSTRY_TRAV},
  {"OTHR", 25, IDS_INDUSTRY_OTHR},
};

const SurveyCode employeeRows[] = {
  {"1-9", 1, IDS_EMPLOYEES_1}, {"10-24", 2, IDS_EMPLOYEES_10}, {"25-49", 5, IDS_EMPLOYEES_25},
  {"50-99", 10, IDS_EMPLOYEES_50}, {"100-249", 3, IDS_EMPLOYEES_100},
  {"250-499", 6, IDS_EMPLOYEES_250}, {"500-999", 11, IDS_EMPLOYEES_500},
  {"1K-1999", 4, IDS_EMPLOYEES_1K}, {"2K-2999", 7, IDS_EMPLOYEES_2K},
  {"3K-3999", 8, IDS_EMPLOYEES_3K}, {"4K-4999", 9, IDS_EMPLOYEES_4K},
  {"5000+", 12, IDS_EMPLOYEES_5K}, {"UNKN", 13, IDS_EMPLOYEES_UNKNOWN},
};

template <int n>
SurveyCodeTable table(const SurveyCode (&rows)[n])
{
  return SurveyCodeTable{rows, n};
}

}  // namespace

const SurveyCodeTable purchaseReasons = table(reasonRows);
const SurveyCodeTable industries = table(industryRows);
const SurveyCodeTable employeeCounts = table(employeeRows);

CString SurveyCodeTable::code(int index) const
{
  const SurveyCode* r = row(index);
  return r ? CString(r->code) : CString();
}

CString SurveyCodeTable::formNumber(int index) const
{
  const SurveyCode* r = row(index);
  if (!r)
    return CString();
  CString number;
  number.Format("%d", r->formNumber);
  return number;
}
