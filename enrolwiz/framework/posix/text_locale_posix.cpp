// POSIX body of the locale port: the C library's locale names ("de_DE.UTF-8")
// written as Windows names ("German_Germany.1252"), the lead-byte ranges of the
// four double-byte code pages, and iconv for the classes of the other bytes.
#include "framework/text_locale.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <iconv.h>
#include <locale.h>
#include <string>

namespace {

struct LanguageName {
  const char* iso;        // ISO 639-1 code of the C library's name
  const char* windows;    // language as Windows names it
  const char* country;    // its usual country when the name gives none
  int codePage;           // its ANSI code page
};

const LanguageName languages[] = {
  {"it", "Italian", "Italy", 1252},        {"el", "Greek", "Greece", 1253},
  {"da", "Danish", "Denmark", 1252},       {"ru", "Russian", "Russia", 1251},
  {"ja", "Japanese", "Japan", 932},        {"ko", "Korean", "Korea", 949},
  {"sv", "Swedish", "Sweden", 1252},       {"th", "Thai", "Thailand", 874},
  {"fr", "French", "France", 1252},        {"es", "Spanish", "Spain", 1252},
  {"de", "German", "Germany", 1252},       {"nl", "Dutch", "Netherlands", 1252},
  {"nb", "Norwegian", "Norway", 1252},     {"no", "Norwegian", "Norway", 1252},
  {"cs", "Czech", "Czech Republic", 1250}, {"tr", "Turkish", "Turkey", 1254},
  {"pl", "Polish", "Poland", 1250},        {"en", "English", "United States", 1252},
  {"hu", "Hungarian", "Hungary", 1250},    {"fi", "Finnish", "Finland", 1252},
  {"pt", "Portuguese", "Portugal", 1252},  {"sk", "Slovak", "Slovakia", 1250},
  {"zh", "Chinese", "People's Republic of China", 936},
};

struct TerritoryName {
  const char* iso;
  const char* windows;
};

const TerritoryName territories[] = {
  {"AU", "Australia"}, {"AT", "Austria"}, {"BE", "Belgium"}, {"BR", "Brazil"},
  {"CA", "Canada"}, {"CZ", "Czech Republic"}, {"DK", "Denmark"}, {"FI", "Finland"},
  {"FR", "France"}, {"DE", "Germany"}, {"GR", "Greece"}, {"HK", "Hong Kong"},
  {"HU", "Hungary"}, {"IS", "Iceland"}, {"IE", "Ireland"}, {"IT", "Italy"},
  {"JP", "Japan"}, {"MX", "Mexico"}, {"NL", "Netherlands"}, {"NZ", "New Zealand"},
  {"NO", "Norway"}, {"CN", "People's Republic of China"}, {"PL", "Poland"},
  {"PT", "Portugal"}, {"RU", "Russia"}, {"SG", "Singapore"}, {"SK", "Slovakia"},
  {"KR", "Korea"}, {"ES", "Spain"}, {"SE", "Sweden"}, {"CH", "Switzerland"},
  {"TW", "Taiwan"}, {"TR", "Turkey"}, {"GB", "United Kingdom"}, {"US", "United States"},
  {"TH", "Thailand"},
};

const LanguageName* languageByIso(const std::string& iso)
{
  for (const LanguageName& l : languages)
    if (iso == l.iso)
      return &l;
  return nullptr;
}

const LanguageName* languageByWindowsName(const std::string& name)
{
  for (const LanguageName& l : languages)
    if (strcasecmp(name.c_str(), l.windows) == 0)
      return &l;
  return nullptr;
}

// "de_DE.UTF-8@euro" -> "German_Germany.1252"; names it does not know pass unchanged.
std::string windowsForm(const std::string& posix)
{
  if (posix.empty() || posix == "C" || posix == "POSIX")
    return "C";
  std::string name = posix.substr(0, posix.find_first_of(".@"));
  std::string iso = name.substr(0, name.find('_'));
  const LanguageName* language = languageByIso(iso);
  if (!language)
    return posix;
  std::string country = language->country;
  size_t underscore = name.find('_');
  if (underscore != std::string::npos) {
    std::string territory = name.substr(underscore + 1);
    country = territory;
    for (const TerritoryName& t : territories)
      if (territory == t.iso)
        country = t.windows;
  }
  int codePage = language->codePage;
  if (iso == "zh" && (country == "Taiwan" || country == "Hong Kong"))
    codePage = 950;
  std::string windows = std::string(language->windows) + "_" + country + "." + std::to_string(codePage);
  return windows;
}

// The Windows form that a name chose, when the C library has no such locale:
// this stand-in keeps the Windows name in force itself.
std::string& selectedWindowsName()
{
  static std::string name;
  return name;
}

}  // namespace

CString currentLocaleName()
{
  if (!selectedWindowsName().empty())
    return CString(selectedWindowsName().c_str());
  const char* name = setlocale(LC_ALL, nullptr);
  return CString(windowsForm(name ? name : "C").c_str());
}

CString selectLocale(const char* name)
{
  if (!name)
    return currentLocaleName();
  if (*name == '\0' || strcmp(name, "C") == 0 || strcmp(name, "POSIX") == 0) {
    selectedWindowsName().clear();
    if (setlocale(LC_ALL, name))
      return currentLocaleName();
    if (*name != '\0')
      return CString();
    // The environment names a locale the C library lacks: keep its name.
    const char* environment = nullptr;
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
      environment = getenv(variable);
      if (environment && *environment)
        break;
    }
    selectedWindowsName() = windowsForm(environment ? environment : "C");
    return currentLocaleName();
  }
  // A Windows name: "German", "German_Austria", "German_Austria.1252".
  std::string text = name;
  std::string languagePart = text.substr(0, text.find_first_of("_."));
  const LanguageName* language = languageByWindowsName(languagePart);
  if (!language)
    return CString();
  std::string rest = text.substr(languagePart.size());
  std::string country = language->country;
  int codePage = language->codePage;
  if (!rest.empty() && rest[0] == '_') {
    size_t dot = rest.find('.');
    country = rest.substr(1, dot == std::string::npos ? std::string::npos : dot - 1);
    rest = dot == std::string::npos ? "" : rest.substr(dot);
  }
  if (!rest.empty() && rest[0] == '.')
    codePage = atoi(rest.c_str() + 1);
  selectedWindowsName() = std::string(language->windows) + "_" + country + "." + std::to_string(codePage);
  return CString(selectedWindowsName().c_str());
}

bool isLeadByte(int codePage, unsigned char byte)
{
  switch (codePage) {
  case 932:
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
  case 936:
  case 949:
  case 950:
    return byte >= 0x81 && byte <= 0xFE;
  default:
    return false;
  }
}

unsigned char highByteClasses(int codePage, unsigned char byte)
{
  std::string charset = "CP" + std::to_string(codePage);
  iconv_t convert = iconv_open("WCHAR_T", charset.c_str());
  if (convert == reinterpret_cast<iconv_t>(-1))
    return 0;
  char in[1] = {static_cast<char>(byte)};
  wchar_t out[2] = {0, 0};
  char* inPtr = in;
  size_t inLeft = 1;
  char* outPtr = reinterpret_cast<char*>(out);
  size_t outLeft = sizeof out;
  size_t done = iconv(convert, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(convert);
  if (done == static_cast<size_t>(-1) || outLeft == sizeof out)
    return 0;
  static locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  if (!unicode)
    return 0;
  unsigned char bits = 0;
  if (iswspace_l(static_cast<wint_t>(out[0]), unicode))
    bits |= TextLocale::space;
  if (iswalpha_l(static_cast<wint_t>(out[0]), unicode))
    bits |= TextLocale::alpha;
  return bits;
}
