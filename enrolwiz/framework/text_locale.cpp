// TextLocale: character classes of a locale built from its code page.
#include "text_locale.h"

#include <cstdlib>
#include <memory>

int codePageOfLocale(const CString& localeName)
{
  int dot = localeName.Find('.');
  if (dot < 0)
    return 0;
  return atoi(localeName.Mid(dot + 1));
}

TextLocale::TextLocale(const CString& localeName)
    : name_(localeName), codePage_(codePageOfLocale(localeName))
{
  for (int b = 0; b < 256; ++b) {
    unsigned char c = static_cast<unsigned char>(b);
    unsigned char bits = 0;
    if (c < 0x80) {
      if (c == ' ' || (c >= '\t' && c <= '\r'))
        bits |= space;
      if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        bits |= alpha;
    } else if (codePage_ != 0 && ::isLeadByte(codePage_, c)) {
      bits |= leadByte;
    } else if (codePage_ != 0) {
      bits |= highByteClasses(codePage_, c);
    }
    classes_[b] = bits;
  }
}

const TextLocale& TextLocale::current()
{
  static std::unique_ptr<TextLocale> cached;
  CString name = currentLocaleName();
  if (!cached || cached->name() != name)
    cached.reset(new TextLocale(name));
  return *cached;
}
