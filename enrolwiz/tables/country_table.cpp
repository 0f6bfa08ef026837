// CountryTable, CountryAliasTable and the state lists.
#include "tables/country_table.h"

#include <cstring>
#include <vector>

#include "string_ids.h"
#include "tables/operator_data.h"

namespace {

struct CountryRow {
  char code[4];
  int minPhoneDigits;
  int minPostalCode;
  UINT nameId;
};

const CountryRow countryRows[countryCount] = {
  {"AL", 1, 1, IDS_COUNTRY_AL},  // 0
  {"DZ", 1, 1, IDS_COUNTRY_DZ},  // 1
  {"AD", 1, 1, IDS_COUNTRY_AD},  // 2
  {"AO", 1, 1, IDS_COUNTRY_AO},  // 3
  {"AG", 1, 1, IDS_COUNTRY_AG},  // 4
  {"AR", 1, 1, IDS_COUNTRY_AR},  // 5
  {"AU", 1, 1, IDS_COUNTRY_AU},  // 6
  {"AT", 1, -4, IDS_COUNTRY_AT},  // 7
  {"AZ", 1, 1, IDS_COUNTRY_AZ},  // 8
  {"BS", 1, 1, IDS_COUNTRY_BS},  // 9
  {"BH", 1, 1, IDS_COUNTRY_BH},  // 10
  {"BD", 1, 1, IDS_COUNTRY_BD},  // 11
  {"BB", 1, 1, IDS_COUNTRY_BB},  // 12
  {"BY", 1, 1, IDS_COUNTRY_BY},  // 13
  {"BE", 1, 1, IDS_COUNTRY_BE},  // 14
  {"BZ", 1, 1, IDS_COUNTRY_BZ},  // 15
  {"BJ", 1, 1, IDS_COUNTRY_BJ},  // 16
  {"BM", 1, 1, IDS_COUNTRY_BM},  // 17
  {"BO", 1, 1, IDS_COUNTRY_BO},  // 18
  {"BA", 1, 1, IDS_COUNTRY_BA},  // 19
  {"BW", 1, 1, IDS_COUNTRY_BW},  // 20
  {"BR", 10, 8, IDS_COUNTRY_BR},  // 21
  {"BN", 1, 1, IDS_COUNTRY_BN},  // 22
  {"BG", 1, 1, IDS_COUNTRY_BG},  // 23
  {"BF", 1, 1, IDS_COUNTRY_BF},  // 24
  {"BI", 1, 1, IDS_COUNTRY_BI},  // 25
  {"CM", 1, 1, IDS_COUNTRY_CM},  // 26
  {"CA", 10, 6, IDS_COUNTRY_CA},  // 27
  {"CV", 1, 1, IDS_COUNTRY_CV},  // 28
  {"KY", 1, 1, IDS_COUNTRY_KY},  // 29
  {"CF", 1, 1, IDS_COUNTRY_CF},  // 30
  {"CD", 1, 1, IDS_COUNTRY_CD},  // 31
  {"CL", 1, 1, IDS_COUNTRY_CL},  // 32
  {"CN", 8, -6, IDS_COUNTRY_CN},  // 33
  {"CO", 1, 1, IDS_COUNTRY_CO},  // 34
  {"KM", 1, 1, IDS_COUNTRY_KM},  // 35
  {"CG", 1, 1, IDS_COUNTRY_CG},  // 36
  {"CR", 1, 1, IDS_COUNTRY_CR},  // 37
  {"HR", 1, 1, IDS_COUNTRY_HR},  // 38
  {"CY", 1, 1, IDS_COUNTRY_CY},  // 39
  {"CZ", 8, 5, IDS_COUNTRY_CZ},  // 40
  {"DK", 8, 4, IDS_COUNTRY_DK},  // 41
  {"DO", 1, 1, IDS_COUNTRY_DO},  // 42
  {"EC", 1, 1, IDS_COUNTRY_EC},  // 43
  {"EG", 1, 1, IDS_COUNTRY_EG},  // 44
  {"SV", 1, 1, IDS_COUNTRY_SV},  // 45
  {"GQ", 1, 1, IDS_COUNTRY_GQ},  // 46
  {"EE", 1, 1, IDS_COUNTRY_EE},  // 47
  {"ET", 1, 1, IDS_COUNTRY_ET},  // 48
  {"FJ", 1, 1, IDS_COUNTRY_FJ},  // 49
  {"FI", 6, -5, IDS_COUNTRY_FI},  // 50
  {"FR", 10, -5, IDS_COUNTRY_FR},  // 51
  {"GF", 1, 1, IDS_COUNTRY_GF},  // 52
  {"PF", 1, 1, IDS_COUNTRY_PF},  // 53
  {"GA", 1, 1, IDS_COUNTRY_GA},  // 54
  {"GM", 1, 1, IDS_COUNTRY_GM},  // 55
  {"GE", 8, 5, IDS_COUNTRY_GE},  // 56
  {"GH", 1, 1, IDS_COUNTRY_GH},  // 57
  {"GI", 1, 1, IDS_COUNTRY_GI},  // 58
  {"GR", 9, -5, IDS_COUNTRY_GR},  // 59
  {"GP", 1, 1, IDS_COUNTRY_GP},  // 60
  {"GT", 1, 1, IDS_COUNTRY_GT},  // 61
  {"GN", 1, 1, IDS_COUNTRY_GN},  // 62
  {"GY", 1, 1, IDS_COUNTRY_GY},  // 63
  {"HT", 1, 1, IDS_COUNTRY_HT},  // 64
  {"HN", 1, 1, IDS_COUNTRY_HN},  // 65
  {"HK", 1, 1, IDS_COUNTRY_HK},  // 66
  {"HU", 10, 4, IDS_COUNTRY_HU},  // 67
  {"IS", 1, 1, IDS_COUNTRY_IS},  // 68
  {"IN", 1, 1, IDS_COUNTRY_IN},  // 69
  {"ID", 1, 1, IDS_COUNTRY_ID},  // 70
  {"IR", 1, 1, IDS_COUNTRY_IR},  // 71
  {"IE", 1, 1, IDS_COUNTRY_IE},  // 72
  {"IL", 1, 1, IDS_COUNTRY_IL},  // 73
  {"IT", 7, 5, IDS_COUNTRY_IT},  // 74
  {"JM", 1, 1, IDS_COUNTRY_JM},  // 75
  {"JP", 10, 7, IDS_COUNTRY_JP},  // 76
  {"JO", 1, 1, IDS_COUNTRY_JO},  // 77
  {"KZ", 1, 1, IDS_COUNTRY_KZ},  // 78
  {"KE", 1, 1, IDS_COUNTRY_KE},  // 79
  {"KW", 1, 1, IDS_COUNTRY_KW},  // 80
  {"LV", 1, 1, IDS_COUNTRY_LV},  // 81
  {"LB", 1, 1, IDS_COUNTRY_LB},  // 82
  {"LS", 1, 1, IDS_COUNTRY_LS},  // 83
  {"LR", 1, 1, IDS_COUNTRY_LR},  // 84
  {"LI", 1, 1, IDS_COUNTRY_LI},  // 85
  {"LT", 1, 1, IDS_COUNTRY_LT},  // 86
  {"LU", 1, 1, IDS_COUNTRY_LU},  // 87
  {"MO", 1, 1, IDS_COUNTRY_MO},  // 88
  {"MK", 1, 1, IDS_COUNTRY_MK},  // 89
  {"MG", 1, 1, IDS_COUNTRY_MG},  // 90
  {"MW", 1, 1, IDS_COUNTRY_MW},  // 91
  {"MY", 1, 1, IDS_COUNTRY_MY},  // 92
  {"MV", 1, 1, IDS_COUNTRY_MV},  // 93
  {"ML", 1, 1, IDS_COUNTRY_ML},  // 94
  {"MT", 1, 1, IDS_COUNTRY_MT},  // 95
  {"MQ", 1, 1, IDS_COUNTRY_MQ},  // 96
  {"MR", 1, 1, IDS_COUNTRY_MR},  // 97
  {"MU", 1, 1, IDS_COUNTRY_MU},  // 98
  {"YT", 1, 1, IDS_COUNTRY_YT},  // 99
  {"MX", 1, 1, IDS_COUNTRY_MX},  // 100
  {"MC", 1, 1, IDS_COUNTRY_MC},  // 101
  {"MA", 1, 1, IDS_COUNTRY_MA},  // 102
  {"MZ", 1, 1, IDS_COUNTRY_MZ},  // 103
  {"MN", 1, 1, IDS_COUNTRY_MN},  // 104
  {"NL", 10, 6, IDS_COUNTRY_NL},  // 105
  {"AN", 1, 1, IDS_COUNTRY_AN},  // 106
  {"NC", 1, 1, IDS_COUNTRY_NC},  // 107
  {"NZ", 1, 1, IDS_COUNTRY_NZ},  // 108
  {"NI", 1, 1, IDS_COUNTRY_NI},  // 109
  {"NE", 1, 1, IDS_COUNTRY_NE},  // 110
  {"NG", 1, 1, IDS_COUNTRY_NG},  // 111
  {"NO", 8, 4, IDS_COUNTRY_NO},  // 112
  {"OM", 1, 1, IDS_COUNTRY_OM},  // 113
  {"PK", 1, 1, IDS_COUNTRY_PK},  // 114
  {"PA", 1, 1, IDS_COUNTRY_PA},  // 115
  {"PG", 1, 1, IDS_COUNTRY_PG},  // 116
  {"PY", 1, 1, IDS_COUNTRY_PY},  // 117
  {"PE", 1, 1, IDS_COUNTRY_PE},  // 118
  {"PH", 1, 1, IDS_COUNTRY_PH},  // 119
  {"PL", 9, -5, IDS_COUNTRY_PL},  // 120
  {"PT", 8, 4, IDS_COUNTRY_PT},  // 121
  {"QA", 1, 1, IDS_COUNTRY_QA},  // 122
  {"RE", 1, 1, IDS_COUNTRY_RE},  // 123
  {"RO", 1, 1, IDS_COUNTRY_RO},  // 124
  {"RU", 6, 6, IDS_COUNTRY_RU},  // 125
  {"RW", 1, 1, IDS_COUNTRY_RW},  // 126
  {"ST", 1, 1, IDS_COUNTRY_ST},  // 127
  {"SA", 1, 1, IDS_COUNTRY_SA},  // 128
  {"SN", 1, 1, IDS_COUNTRY_SN},  // 129
  {"SP", 1, 1, IDS_COUNTRY_SP},  // 130
  {"SC", 1, 1, IDS_COUNTRY_SC},  // 131
  {"SG", 1, 1, IDS_COUNTRY_SG},  // 132
  {"SK", 1, 1, IDS_COUNTRY_SK},  // 133
  {"SI", 1, 1, IDS_COUNTRY_SI},  // 134
  {"ZA", 1, 1, IDS_COUNTRY_ZA},  // 135
  {"KR", 9, 6, IDS_COUNTRY_KR},  // 136
  {"ES", 9, 5, IDS_COUNTRY_ES},  // 137
  {"LK", 1, 1, IDS_COUNTRY_LK},  // 138
  {"SD", 1, 1, IDS_COUNTRY_SD},  // 139
  {"SR", 1, 1, IDS_COUNTRY_SR},  // 140
  {"SZ", 1, 1, IDS_COUNTRY_SZ},  // 141
  {"SE", 7, 5, IDS_COUNTRY_SE},  // 142
  {"CH", 1, -4, IDS_COUNTRY_CH},  // 143
  {"SY", 1, 1, IDS_COUNTRY_SY},  // 144
  {"TW", 9, 3, IDS_COUNTRY_TW},  // 145
  {"TJ", 1, 1, IDS_COUNTRY_TJ},  // 146
  {"TZ", 1, 1, IDS_COUNTRY_TZ},  // 147
  {"TH", 9, 5, IDS_COUNTRY_TH},  // 148
  {"TG", 1, 1, IDS_COUNTRY_TG},  // 149
  {"TT", 1, 1, IDS_COUNTRY_TT},  // 150
  {"TN", 1, 1, IDS_COUNTRY_TN},  // 151
  {"TR", 10, 5, IDS_COUNTRY_TR},  // 152
  {"TM", 1, 1, IDS_COUNTRY_TM},  // 153
  {"UG", 1, 1, IDS_COUNTRY_UG},  // 154
  {"UA", 1, 1, IDS_COUNTRY_UA},  // 155
  {"AE", 1, 1, IDS_COUNTRY_AE},  // 156
  {"GB", 1, 1, IDS_COUNTRY_GB},  // 157
  {"US", 10, 1, IDS_COUNTRY_US},  // 158
  {"UY", 1, 1, IDS_COUNTRY_UY},  // 159
  {"UZ", 1, 1, IDS_COUNTRY_UZ},  // 160
  {"VU", 1, 1, IDS_COUNTRY_VU},  // 161
  {"VE", 1, 1, IDS_COUNTRY_VE},  // 162
  {"VN", 1, 1, IDS_COUNTRY_VN},  // 163
  {"WF", 1, 1, IDS_COUNTRY_WF},  // 164
  {"YE", 1, 1, IDS_COUNTRY_YE},  // 165
  {"ZR", 1, 1, IDS_COUNTRY_ZR},  // 166
  {"ZM", 1, 1, IDS_COUNTRY_ZM},  // 167
  {"ZW", 1, 1, IDS_COUNTRY_ZW},  // 168
};

// The rows joined with the operator's numbers and addresses.
const std::vector<CountryRecord>& countryTable()
{
  static const std::vector<CountryRecord> table = [] {
    std::vector<CountryRecord> rows(countryCount);
    for (int i = 0; i < countryCount; ++i) {
      CountryRecord& r = rows[static_cast<size_t>(i)];
      memcpy(r.code, countryRows[i].code, sizeof r.code);
      r.minPhoneDigits = countryRows[i].minPhoneDigits;
      r.minPostalCode = countryRows[i].minPostalCode;
      memcpy(r.numbers, operatorCountries[i].numbers, sizeof r.numbers);
      r.nameId = countryRows[i].nameId;
      memcpy(r.mailIds, operatorCountries[i].mailIds, sizeof r.mailIds);
    }
    return rows;
  }();
  return table;
}

}  // namespace

const CountryRecord* countryRecord(int index)
{
  if (index < 0 || index >= countryCount)
    return nullptr;
  return &countryTable()[static_cast<size_t>(index)];
}

CString countryName(int index)
{
  const CountryRecord* r = countryRecord(index);
  return r ? loadText(r->nameId) : CString();
}

CString countryCode(int index)
{
  const CountryRecord* r = countryRecord(index);
  return r ? CString(r->code) : CString();
}

const CountryAlias countryAliasTable[] = {
  {6, "aus"}, {6, "australia"},
  {7, "aut"}, {7, "austria"},
  {14, "bel"}, {14, "belgium"},
  {21, "bra"}, {21, "brazil"},
  {27, "can"}, {27, "canada"},
  {40, "cze"}, {40, "czech"}, {40, "czech republic"},
  {41, "dnk"}, {41, "denmark"},
  {50, "fin"}, {50, "finland"},
  {51, "fra"}, {51, "france"},
  {56, "deu"}, {56, "germany"},
  {59, "grc"}, {59, "greece"},
  {66, "hkg"}, {66, "hong kong"}, {66, "hong-kong"},
  {67, "hun"}, {67, "hungary"},
  {68, "iceland"}, {68, "isl"},
  {72, "ireland"}, {72, "irl"},
  {74, "ita"}, {74, "italy"},
  {76, "japan"}, {76, "jpn"},
  {100, "mex"}, {100, "mexico"},
  {105, "nld"}, {105, "holland"}, {105, "netherlands"},
  {108, "new zealand"}, {108, "new-zealand"}, {108, "nz"}, {108, "nzl"},
  {112, "nor"}, {112, "norway"}, {112, "norwegian"},
  {33, "china"}, {33, "chn"}, {33, "pr china"}, {33, "pr-china"}, {33, "people's republic of china"},
  {120, "pol"}, {120, "poland"},
  {121, "prt"}, {121, "portugal"},
  {125, "rus"}, {125, "russia"},
  {132, "sgp"}, {132, "singapore"},
  {133, "svk"}, {133, "slovak"},
  {136, "kor"}, {136, "korea"}, {136, "south korea"}, {136, "south-korea"},
  {137, "esp"}, {137, "spain"},
  {142, "swe"}, {142, "sweden"},
  {143, "che"}, {143, "switzerland"},
  {145, "taiwan"}, {145, "twn"},
  {152, "tur"}, {152, "turkey"},
  {157, "britain"}, {157, "england"}, {157, "gbr"}, {157, "great britain"}, {157, "uk"},
  {157, "united kingdon"}, {157, "united-kingdom"},
  {158, "america"}, {158, "united states"}, {158, "united-states"}, {158, "us"}, {158, "usa"},
  {148, "thailand"},
  {-1, "endoflist"},
};

int countryIndexOfName(const CString& name)
{
  for (const CountryAlias* a = countryAliasTable; strcmp(a->name, "endoflist") != 0; ++a)
    if (name == a->name)
      return a->index;
  return -1;
}

const StateRow unitedStatesStates[51] = {
  {"AL", IDS_STATE_US_AL},
  {"AK", IDS_STATE_US_AK},
  {"AZ", IDS_STATE_US_AZ},
  {"AR", IDS_STATE_US_AR},
  {"CA", IDS_STATE_US_CA},
  {"CO", IDS_STATE_US_CO},
  {"CT", IDS_STATE_US_CT},
  {"DE", IDS_STATE_US_DE},
  {"DC", IDS_STATE_US_DC},
  {"FL", IDS_STATE_US_FL},
  {"GA", IDS_STATE_US_GA},
  {"HI", IDS_STATE_US_HI},
  {"ID", IDS_STATE_US_ID},
  {"IL", IDS_STATE_US_IL},
  {"IN", IDS_STATE_US_IN},
  {"IA", IDS_STATE_US_IA},
  {"KS", IDS_STATE_US_KS},
  {"KY", IDS_STATE_US_KY},
  {"LA", IDS_STATE_US_LA},
  {"ME", IDS_STATE_US_ME},
  {"MD", IDS_STATE_US_MD},
  {"MA", IDS_STATE_US_MA},
  {"MI", IDS_STATE_US_MI},
  {"MN", IDS_STATE_US_MN},
  {"MS", IDS_STATE_US_MS},
  {"MO", IDS_STATE_US_MO},
  {"MT", IDS_STATE_US_MT},
  {"NE", IDS_STATE_US_NE},
  {"NV", IDS_STATE_US_NV},
  {"NH", IDS_STATE_US_NH},
  {"NJ", IDS_STATE_US_NJ},
  {"NM", IDS_STATE_US_NM},
  {"NY", IDS_STATE_US_NY},
  {"NC", IDS_STATE_US_NC},
  {"ND", IDS_STATE_US_ND},
  {"OH", IDS_STATE_US_OH},
  {"OK", IDS_STATE_US_OK},
  {"OR", IDS_STATE_US_OR},
  {"PA", IDS_STATE_US_PA},
  {"RI", IDS_STATE_US_RI},
  {"SC", IDS_STATE_US_SC},
  {"SD", IDS_STATE_US_SD},
  {"TN", IDS_STATE_US_TN},
  {"TX", IDS_STATE_US_TX},
  {"UT", IDS_STATE_US_UT},
  {"VT", IDS_STATE_US_VT},
  {"VA", IDS_STATE_US_VA},
  {"WA", IDS_STATE_US_WA},
  {"WV", IDS_STATE_US_WV},
  {"WI", IDS_STATE_US_WI},
  {"WY", IDS_STATE_US_WY},
};

const StateRow canadaProvinces[12] = {
  {"AB", IDS_STATE_CA_AB},
  {"BC", IDS_STATE_CA_BC},
  {"MB", IDS_STATE_CA_MB},
  {"NB", IDS_STATE_CA_NB},
  {"NF", IDS_STATE_CA_NF},
  {"NT", IDS_STATE_CA_NT},
  {"NS", IDS_STATE_CA_NS},
  {"ON", IDS_STATE_CA_ON},
  {"PE", IDS_STATE_CA_PE},
  {"QC", IDS_STATE_CA_QC},
  {"SK", IDS_STATE_CA_SK},
  {"YT", IDS_STATE_CA_YT},
};

// Hokkaido to Okinawa; the code is the place of the name in alphabetical order.
const StateRow japanPrefectures[47] = {
  {"12", IDS_PREFECTURE_HOKKAIDO},
  {"3", IDS_PREFECTURE_AOMORI},
  {"16", IDS_PREFECTURE_IWATE},
  {"24", IDS_PREFECTURE_MIYAGI},
  {"2", IDS_PREFECTURE_AKITA},
  {"45", IDS_PREFECTURE_YAMAGATA},
  {"8", IDS_PREFECTURE_FUKUSHIMA},
  {"14", IDS_PREFECTURE_IBARAKI},
  {"39", IDS_PREFECTURE_TOCHIGI},
  {"10", IDS_PREFECTURE_GUNMA},
  {"35", IDS_PREFECTURE_SAITAMA},
  {"4", IDS_PREFECTURE_CHIBA},
  {"41", IDS_PREFECTURE_TOKYO},
  {"19", IDS_PREFECTURE_KANAGAWA},
  {"29", IDS_PREFECTURE_NIIGATA},
  {"43", IDS_PREFECTURE_TOYAMA},
  {"15", IDS_PREFECTURE_ISHIKAWA},
  {"6", IDS_PREFECTURE_FUKUI},
  {"47", IDS_PREFECTURE_YAMANASHI},
  {"26", IDS_PREFECTURE_NAGANO},
  {"9", IDS_PREFECTURE_GIFU},
  {"38", IDS_PREFECTURE_SHIZUOKA},
  {"1", IDS_PREFECTURE_AICHI},
  {"23", IDS_PREFECTURE_MIE},
  {"36", IDS_PREFECTURE_SHIGA},
  {"22", IDS_PREFECTURE_KYOTO},
  {"33", IDS_PREFECTURE_OSAKA},
  {"13", IDS_PREFECTURE_HYOGO},
  {"28", IDS_PREFECTURE_NARA},
  {"44", IDS_PREFECTURE_WAKAYAMA},
  {"42", IDS_PREFECTURE_TOTTORI},
  {"37", IDS_PREFECTURE_SHIMANE},
  {"31", IDS_PREFECTURE_OKAYAMA},
  {"11", IDS_PREFECTURE_HIROSHIMA},
  {"46", IDS_PREFECTURE_YAMAGUCHI},
  {"40", IDS_PREFECTURE_TOKUSHIMA},
  {"17", IDS_PREFECTURE_KAGAWA},
  {"5", IDS_PREFECTURE_EHIME},
  {"20", IDS_PREFECTURE_KOCHI},
  {"7", IDS_PREFECTURE_FUKUOKA},
  {"34", IDS_PREFECTURE_SAGA},
  {"27", IDS_PREFECTURE_NAGASAKI},
  {"21", IDS_PREFECTURE_KUMAMOTO},
  {"30", IDS_PREFECTURE_OITA},
  {"25", IDS_PREFECTURE_MIYAZAKI},
  {"18", IDS_PREFECTURE_KAGOSHIMA},
  {"32", IDS_PREFECTURE_OKINAWA},
};
