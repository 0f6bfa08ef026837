// The keys of a framework map in its iteration order, for the tests.
#ifndef ENROLWIZ_FRAMEWORK_TESTS_MAP_ORDER_H
#define ENROLWIZ_FRAMEWORK_TESTS_MAP_ORDER_H

#include <vector>

#include "framework/collections.h"

inline std::vector<CString> keysInOrder(const CMapStringToString& map)
{
  std::vector<CString> keys;
  CString key, value;
  for (POSITION p = map.GetStartPosition(); p;) {
    map.GetNextAssoc(p, key, value);
    keys.push_back(key);
  }
  return keys;
}

#endif
