// readRegistryText and readRegistryNumber.
#include "framework/registry_readers.h"

#include <cstring>

namespace {

// The bytes of a value; the buffer's room is one byte more than the query
// may fill, so a value without its terminating zero still ends in one.
template <unsigned Size>
struct ValueBuffer {
  unsigned char bytes[Size + 1];
  unsigned type = registryNone;
  unsigned size = Size;

  long read(RegistryRoot root, const char* keyPath, const char* valueName)
  {
    std::memset(bytes, 0, sizeof bytes);
    RegistryKey key;
    long status = key.open(root, keyPath, registryQueryValue);
    if (status != registryOk)
      return status;
    status = key.query(valueName, type, bytes, size);
    key.close();
    if (status == registryOk && size > Size)
      return registryMoreData;
    return status;
  }
  const char* text() const { return reinterpret_cast<const char*>(bytes); }
};

}  // namespace

CString readRegistryText(RegistryRoot root, const char* keyPath, const char* valueName)
{
  ValueBuffer<1024> value;
  if (value.read(root, keyPath, valueName) != registryOk)
    return CString();
  return CString(value.text(), static_cast<int>(value.size));
}

int readRegistryNumber(RegistryRoot root, const char* keyPath, const char* valueName)
{
  ValueBuffer<256> value;
  if (value.read(root, keyPath, valueName) != registryOk)
    return -1;
  switch (value.type) {
  case registryText:
    return atoiText(value.text());
  case registryDword:
  case registryBinary:
    return static_cast<int>(static_cast<unsigned>(value.bytes[0]) | static_cast<unsigned>(value.bytes[1]) << 8 |
                            static_cast<unsigned>(value.bytes[2]) << 16 |
                            static_cast<unsigned>(value.bytes[3]) << 24);
  default:
    return -1;
  }
}
