// The country tables: CountryTable (169 rows, the country index used
// everywhere), CountryAliasTable (country part of a locale name to index) and
// the state lists of the United States, Canada and Japan.
#ifndef ENROLWIZ_TABLES_COUNTRY_TABLE_H
#define ENROLWIZ_TABLES_COUNTRY_TABLE_H

#include "framework/cstring.h"

const int countryCount = 169;
const int canadaIndex = 27;
const int belgiumIndex = 14;
const int japanIndex = 76;
const int switzerlandIndex = 143;
const int unitedStatesIndex = 158;

struct CountryRecord {
  char code[4];
  int minPhoneDigits;
  int minPostalCode;      // negative: digits only, at least the absolute value
  char numbers[3][20];    // registration numbers, non-blank ones with a leading blank
  UINT nameId;            // string-table id of the display name
  UINT mailIds[7];        // mailing-address lines, 0 unused
};

// The row of a country index, or null outside 0 to 168.
const CountryRecord* countryRecord(int index);

// Display name and two-letter code of a row; empty outside the table.
CString countryName(int index);
CString countryCode(int index);

struct CountryAlias {
  int index;
  char name[32];
};
// 90 rows and the sentinel {-1, "endoflist"}, searched in order.
extern const CountryAlias countryAliasTable[];

// The index of a lower-case country name, or -1.
int countryIndexOfName(const CString& name);

struct StateRow {
  const char* code;
  UINT nameId;
};
extern const StateRow unitedStatesStates[51];
extern const StateRow canadaProvinces[12];
extern const StateRow japanPrefectures[47];

#endif
