// LanguageTable, the language code table and the flag tables.
#include "tables/language_table.h"

#include <cstring>

const LanguageRow languageTable[] = {
  {5, "chinese"}, {5, "chinese-simplified"}, {5, "chs"}, {5, "chinese(prc)"},
  {12, "chinese-traditional"}, {12, "chinese(taiwan)"}, {12, "cht"},
  {15, "csy"}, {15, "czech"},
  {2, "dan"}, {2, "danish"},
  {13, "belgian"}, {13, "dutch-belgian"}, {13, "nlb"}, {13, "dutch"}, {13, "nld"},
  {18, "australian"}, {18, "ena"}, {18, "english-aus"}, {18, "canadian"}, {18, "enc"},
  {18, "english-can"}, {18, "english"}, {18, "english-nz"}, {18, "enz"}, {18, "eng"},
  {18, "english-uk"}, {18, "uk"}, {18, "american"}, {18, "american english"},
  {18, "american-english"}, {18, "english-american"}, {18, "english-us"}, {18, "english-usa"},
  {18, "enu"}, {18, "us"}, {18, "usa"},
  {20, "fin"}, {20, "finnish"},
  {9, "frb"}, {9, "french-belgian"}, {9, "frc"}, {9, "french-canadian"}, {9, "fra"},
  {9, "french"}, {9, "french-swiss"}, {9, "frs"},
  {11, "dea"}, {11, "german-austrian"}, {11, "deu"}, {11, "german"}, {11, "des"},
  {11, "german-swiss"}, {11, "swiss"},
  {1, "ell"}, {1, "greek"},
  {19, "hun"}, {19, "hungarian"},
  {0, "ita"}, {0, "italian"}, {0, "italian-swiss"}, {0, "its"},
  {4, "japanese"}, {4, "jpn"},
  {6, "kor"}, {6, "korean"},
  {14, "nor"}, {14, "norwegian-bokmal"}, {14, "norwegian"}, {14, "non"}, {14, "norwegian-nynorsk"},
  {17, "plk"}, {17, "polish"},
  {22, "portuguese-brazilian"}, {22, "portuguese_brazil"}, {22, "ptb"},
  {21, "portuguese"}, {21, "ptg"},
  {3, "rus"}, {3, "russian"},
  {10, "esp"}, {10, "spanish"}, {10, "esm"}, {10, "spanish-mexican"}, {10, "esn"},
  {10, "spanish-modern"}, {10, "spanish - modern sort"},
  {7, "sve"}, {7, "swedish"},
  {8, "tha"}, {8, "thai"},
  {16, "trk"}, {16, "turkish"},
  {-1, "endoflist"},
};

namespace {

const char* const languageCodes[languageCount] = {
  "ITA", "ELL", "DAN", "RUS", "JPN", "CHS", "KOR", "SVE", "THA", "FRA", "ESP", "DEU",
  "CHT", "NLD", "NOR", "CSY", "TRK", "PLK", "ENU", "HUN", "FIN", "PTG", "PTB",
};

// One row per flag, one column per language id:
//   ITA ELL DAN RUS JPN CHS KOR SVE THA FRA ESP DEU CHT NLD NOR CSY TRK PLK ENU HUN FIN PTG PTB
struct FlagTable {
  LanguageFlag flag;
  int entries[languageCount];
};

const FlagTable flagTables[] = {
  {flagFirstName,    {1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  {flagLastName,     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  {flagPrefix,       {1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 0, 1, 0, 1, 1, 1, 0, 0, 0}},
  {flagSuffix,       {0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0}},
  {flagInitial,      {0, 1, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 1}},
  {flagPoBox,        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0}},
  {flagStreet,       {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  {flagCity,         {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  {flagStateList,    {0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}},
  {flagPostalCode,   {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  {flagCountry,      {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  {flagJobTitle,     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  {flagCompany,      {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  {flagPhoneDigits,  {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  {flag16,           {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  {flagEmail,        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  {flagFrenchBox,    {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}},
  {flagBoldHeadings, {1, 1, 1, 1, 0, 0, 0, 1, 0, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
};

}  // namespace

int languageId(const CString& name)
{
  for (const LanguageRow* r = languageTable; strcmp(r->name, "endoflist") != 0; ++r)
    if (name == r->name)
      return r->id;
  return -1;
}

CString languageCode(int id)
{
  if (id < 0 || id >= languageCount)
    return CString();
  return CString(languageCodes[id]);
}

int languageIdOfCode(const CString& code)
{
  for (int id = 0; id < languageCount; ++id)
    if (code == languageCodes[id])
      return id;
  return -1;
}

int languageFlag(LanguageFlag flag, int id)
{
  if (id < 0 || id >= languageCount)
    return 0;
  for (const FlagTable& t : flagTables)
    if (t.flag == flag)
      return t.entries[id];
  return 0;
}
