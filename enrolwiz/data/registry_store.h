// RegistryStore: text and integer values under the program's own registry key,
// HKEY_CURRENT_USER\Software\VLM\Product Registration\SECTION, every value a
// REG_SZ; and the product list that the command line stores there.
#ifndef ENROLWIZ_DATA_REGISTRY_STORE_H
#define ENROLWIZ_DATA_REGISTRY_STORE_H

#include <vector>

#include "framework/cstring.h"

class RegistryStore {
public:
  static const char* const generalSection;   // "General": the contact data

  // "Software\VLM\Product Registration\" + section.
  static CString keyPath(const CString& section);

  // Writes text as REG_SZ (with its terminating zero), creating the key chain
  // once when the key cannot be opened; a failure skips the value silently.
  // Both return the registry status (0 on success), which no caller needs.
  static long writeText(const CString& section, const CString& name, const CString& text);
  // The value as signed decimal text.
  static long writeInteger(const CString& section, const CString& name, int value);

  // The text, empty when missing or unreadable (readRegistryText).
  static CString readText(const CString& section, const CString& name);
  // The value, -1 when missing or unusable (readRegistryNumber).
  static int readInteger(const CString& section, const CString& name);

  // Creates (or opens) VLM, Product Registration, General and the section
  // under HKEY_CURRENT_USER\Software; 0 when the section is there, else the
  // failing status.
  static long ensureKeys(const CString& section);
};

// The products that the command line stored in the brand section.
struct ProductList {
  CString count;                    // "numOfProds", "0" when empty
  CString name;                     // "prodName"
  std::vector<CString> products;    // "prod1", "prod2", ... up to the count
};
// Reads it; the count is read as atoi reads it, and at most maxProducts are read.
ProductList readProductList(const CString& section);
const int maxProducts = 16384;

#endif
