// POSIX body of the GUID port: 128 random bits in the registry text form.
#include <cstdio>
#include <random>

#include "framework/guid.h"

CString newGuidText()
{
  unsigned char bytes[16];
  try {
    std::random_device source;
    for (unsigned char& b : bytes)
      b = static_cast<unsigned char>(source() & 0xFF);
  } catch (...) {
    return CString();
  }
  // A version 4 GUID, as the system's generator makes them.
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
  CString text;
  text.Format("{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
              bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7],
              bytes[8], bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
  return text;
}
