// Fuzz target: the escaping of a request value (what a customer typed, in any
// code page): only letters, digits, "_" and "%XX" come out, and they decode
// back to the text up to its first zero byte.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/request_encoding.h"

namespace {

int hexValue(char c)
{
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.substr(0, text.find('\0'));
  CString encoded = UrlEncode(text.c_str());
  std::string decoded;
  for (int i = 0; i < encoded.GetLength(); ++i) {
    char c = encoded[i];
    if (c == '%') {
      if (i + 2 >= encoded.GetLength())
        std::abort();
      int high = hexValue(encoded[i + 1]), low = hexValue(encoded[i + 2]);
      if (high < 0 || low < 0)
        std::abort();
      decoded += static_cast<char>(high * 16 + low);
      i += 2;
    } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_') {
      decoded += c;
    } else {
      std::abort();
    }
  }
  if (decoded != text)
    std::abort();
  return 0;
}
