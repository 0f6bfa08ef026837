// Fuzz target of the listing splitter (listing data, as the server sent it,
// into stem elements), checked against a plain model of its rules: a line
// ends at LF, one CR before the LF goes with it, a line becomes pieces of at
// most FTP_LISTING_LINE characters (an empty line one empty element), and of
// a last line without its end only the full pieces that more characters
// followed come out.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "ftp/parse.h"

static void pieces(const std::string &line, std::vector<std::string> &out)
{
  if (line.empty())
    out.push_back(line);
  for (size_t at = 0; at < line.size(); at += FTP_LISTING_LINE)
    out.push_back(line.substr(at, FTP_LISTING_LINE));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  std::vector<std::string> got;
  FtpListingReader reader;
  FtpListingBegin(&reader);
  for (size_t i = 0; i < size; i++)
    if (FtpListingFeed(&reader, data[i])) {
      if (reader.elementLength > FTP_LISTING_LINE || strlen(reader.element) > reader.elementLength)
        __builtin_trap();
      got.emplace_back(reader.element, reader.elementLength);
    }

  std::vector<std::string> wanted;
  std::string text(reinterpret_cast<const char *>(data), size);
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    pieces(line, wanted);
  }
  std::string rest = text.substr(start);
  if (!rest.empty() && rest.back() == '\r')
    rest.pop_back();   // waits to see whether LF follows
  if (!rest.empty())
    for (size_t full = (rest.size() - 1) / FTP_LISTING_LINE, i = 0; i < full; i++)
      wanted.push_back(rest.substr(i * FTP_LISTING_LINE, FTP_LISTING_LINE));

  // An element holds what the server sent up to a NUL at most (stems are
  // zero-terminated texts): compare up to the first NUL.
  if (got.size() != wanted.size())
    __builtin_trap();
  for (size_t i = 0; i < got.size(); i++)
    if (strcmp(got[i].c_str(), wanted[i].c_str()) != 0)
      __builtin_trap();
  return 0;
}
