// CStringList and CMapStringToString in the manner of the framework's classes.
// The map keeps the framework's hashing: 17 chains by default, the hash
// h = h * 33 + byte over the key's bytes taken as signed characters, new keys
// at the head of their chain; iteration walks the chains in ascending order,
// each from head to tail. The registration request relies on that order.
#ifndef ENROLWIZ_FRAMEWORK_COLLECTIONS_H
#define ENROLWIZ_FRAMEWORK_COLLECTIONS_H

#include "cstring.h"

class CStringList {
public:
  CStringList() = default;
  CStringList(const CStringList&) = delete;
  CStringList& operator=(const CStringList&) = delete;
  ~CStringList();

  int GetCount() const { return count_; }
  BOOL IsEmpty() const { return count_ == 0; }

  POSITION AddHead(const CString& text);
  POSITION AddTail(const CString& text);
  CString& GetHead();
  CString& GetTail();
  CString RemoveHead();    // the list must not be empty
  CString RemoveTail();
  void RemoveAll();

  POSITION GetHeadPosition() const;
  POSITION GetTailPosition() const;
  CString& GetNext(POSITION& position);       // the element at position; position moves on
  const CString& GetNext(POSITION& position) const;
  CString& GetPrev(POSITION& position);
  CString& GetAt(POSITION position);
  POSITION Find(const char* text, POSITION startAfter = nullptr) const;
  POSITION FindIndex(int index) const;

private:
  struct Node {
    Node* next;
    Node* prev;
    CString text;
  };
  static Node* node(POSITION p) { return reinterpret_cast<Node*>(p); }
  static POSITION position(Node* n) { return reinterpret_cast<POSITION>(n); }

  Node* head_ = nullptr;
  Node* tail_ = nullptr;
  int count_ = 0;
};

class CMapStringToString {
public:
  explicit CMapStringToString(UINT hashTableSize = 17);
  CMapStringToString(const CMapStringToString&) = delete;
  CMapStringToString& operator=(const CMapStringToString&) = delete;
  virtual ~CMapStringToString();

  int GetCount() const { return count_; }
  BOOL IsEmpty() const { return count_ == 0; }
  UINT GetHashTableSize() const { return size_; }

  BOOL Lookup(const char* key, CString& value) const;
  void SetAt(const char* key, const char* value);
  CString& operator[](const char* key);   // a key not present is added with an empty value
  BOOL RemoveKey(const char* key);
  void RemoveAll();

  POSITION GetStartPosition() const;
  void GetNextAssoc(POSITION& position, CString& key, CString& value) const;

  // The framework's hash of a key (before the modulo of the table size).
  static UINT HashKey(const char* key);

private:
  struct Assoc {
    Assoc* next;
    UINT hash;
    CString key;
    CString value;
  };
  Assoc* find(const char* key, UINT& bucket) const;

  Assoc** table_;
  UINT size_;
  int count_ = 0;
};

#endif
