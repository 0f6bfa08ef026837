// FieldMap: request keys to values. Its iteration order (the framework map's
// 17 chains, new keys at the head of their chain) is the order of the
// parameters of the registration request.
#ifndef ENROLWIZ_DATA_FIELD_MAP_H
#define ENROLWIZ_DATA_FIELD_MAP_H

#include "framework/collections.h"

class FieldMap : public CMapStringToString {
public:
  // The value of a key; empty when the key is absent.
  CString value(const char* key) const;
  bool has(const char* key) const;
  // Stores exactly what it is given; an empty value makes the key present.
  void set(const char* key, const CString& value) { SetAt(key, value); }
};

#endif
