// The language tables: LanguageTable (locale language names to language ids),
// the 23 three-letter language codes, and the eighteen flag tables that say
// which fields a language's address format uses.
#ifndef ENROLWIZ_TABLES_LANGUAGE_TABLE_H
#define ENROLWIZ_TABLES_LANGUAGE_TABLE_H

#include "framework/cstring.h"

const int languageCount = 23;
const int frenchLanguageId = 9;
const int czechLanguageId = 15;
const int polishLanguageId = 17;
const int englishLanguageId = 18;

struct LanguageRow {
  int id;
  char name[28];
};
// 93 rows and the sentinel {-1, "endoflist"}, searched in order.
extern const LanguageRow languageTable[];

// The id of a (lower-case) language name, or -1.
int languageId(const CString& name);

// The three-letter code of a language id ("DEU"); empty outside 0 to 22.
CString languageCode(int id);
// The id of a three-letter code, or -1.
int languageIdOfCode(const CString& code);

// The flags, by the number of the LanguageProfile operation that reads them.
enum LanguageFlag {
  flagFirstName = 1, flagLastName = 2, flagPrefix = 3, flagSuffix = 4, flagInitial = 5,
  flagPoBox = 6, flagStreet = 7, flagCity = 8, flagStateList = 9, flagPostalCode = 10,
  flagCountry = 11, flagJobTitle = 13, flagCompany = 14, flagPhoneDigits = 15, flag16 = 16,
  flagEmail = 17, flagFrenchBox = 18, flagBoldHeadings = 19,
};

// The flag's entry for a language (0 or 1); 0 outside the tables.
int languageFlag(LanguageFlag flag, int id);

#endif
