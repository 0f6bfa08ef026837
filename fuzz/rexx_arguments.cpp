// Fuzz target of the REXX argument readers: the integer of FtpSetActiveMode
// and FtpPing (against a model that reads any number of digits and holds the
// value at the bounds of an int), the type texts and the trimming.
#include <limits.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "frame/frame.h"

static int modelInteger(const std::string &text, long long *value)
{
  size_t i = 0;
  int negative = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    negative = text[i++] == '-';
  if (!text.empty() && i == text.size())
    return 0;
  std::string digits;
  for (; i < text.size(); i++) {
    if (text[i] < '0' || text[i] > '9')
      return 0;
    if (!digits.empty() || text[i] != '0')
      digits += text[i];
  }
  long long magnitude = digits.size() > 10 ? LLONG_MAX : (digits.empty() ? 0 : std::stoll(digits));
  *value = negative ? (magnitude > -static_cast<long long>(INT_MIN) ? INT_MIN : -magnitude)
                    : (magnitude > INT_MAX ? INT_MAX : magnitude);
  return 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  std::string text(reinterpret_cast<const char *>(data), size);
  std::string buffer = text + '\0';
  FtpArg arg = {size, &buffer[0]};

  int value = 12345;
  long long wanted = 0;
  int ok = FtpParseInteger(&arg, &value);
  if (ok != modelInteger(text, &wanted) || (ok && value != wanted))
    __builtin_trap();

  // Trimming keeps the text between the outer blanks, zero-terminated.
  FtpTrimArg(&arg);
  size_t first = text.find_first_not_of(' ');
  std::string trimmed = first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (std::string(arg.strptr, arg.strlength) != trimmed || arg.strptr[arg.strlength] != '\0')
    __builtin_trap();

  // A type text is valid exactly when, upper-cased and trimmed, it begins
  // (up to six or five letters) as BINARY or ASCII.
  std::string typeBuffer = text + '\0';
  FtpArg typeArg = {size, &typeBuffer[0]};
  int type = 0;
  int valid = FtpParseTypeArg(&typeArg, &type);
  std::string upper = trimmed;
  for (char &c : upper)
    c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  int binary = upper.compare(0, upper.size() < 6 ? upper.size() : 6, "BINARY", 0, upper.size() < 6 ? upper.size() : 6) == 0;
  int ascii = upper.compare(0, upper.size() < 5 ? upper.size() : 5, "ASCII", 0, upper.size() < 5 ? upper.size() : 5) == 0;
  if (valid != (binary || ascii) || (binary && type != FTP_TYPE_BINARY) || (!binary && ascii && type != FTP_TYPE_ASCII))
    __builtin_trap();
  return 0;
}
