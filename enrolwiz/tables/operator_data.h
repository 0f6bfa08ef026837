// The operator's configuration compiled into the program (generated from
// enrolwiz/res/operator.txt): registration numbers, mailing-address ids,
// numbers by language and brand, and the registration server.
#ifndef ENROLWIZ_TABLES_OPERATOR_DATA_H
#define ENROLWIZ_TABLES_OPERATOR_DATA_H

#include "framework/types.h"

struct OperatorCountryRow {
  char code[4];          // cross-check against the country table
  char numbers[3][20];   // non-blank numbers with one leading blank
  UINT mailIds[7];       // string-table ids of the mailing address, 0 unused
};

struct LanguageNumberRow {
  char languageCode[4];  // three-letter language code
  int kind;              // 1: brands without numbers of their own, 2: with
  char number[16];
};

struct BrandNumberRow {
  int countryIndex;
  char code[4];
  char number[20];
};

extern const char registrationServerHost[];      // "connect=Direct"
extern const char registrationServerAddress[];   // "connect=DirectIP"
// The three targets (the two above and text 129) are https ones, reached
// over TLS on port 443 unless they name a port.
extern const bool registrationServerSecure;

extern const OperatorCountryRow operatorCountries[169];
extern const LanguageNumberRow belgianNumbers[];
extern const int belgianNumbersCount;
extern const LanguageNumberRow swissNumbers[];
extern const int swissNumbersCount;
extern const BrandNumberRow pellixNumbers[];
extern const int pellixNumberCount;

#endif
