// CStringList (doubly linked) and CMapStringToString (chained hash table).
#include "collections.h"

CStringList::~CStringList()
{
  RemoveAll();
}

POSITION CStringList::AddHead(const CString& text)
{
  Node* n = new Node{head_, nullptr, text};
  if (head_)
    head_->prev = n;
  else
    tail_ = n;
  head_ = n;
  ++count_;
  return position(n);
}

POSITION CStringList::AddTail(const CString& text)
{
  Node* n = new Node{nullptr, tail_, text};
  if (tail_)
    tail_->next = n;
  else
    head_ = n;
  tail_ = n;
  ++count_;
  return position(n);
}

CString& CStringList::GetHead()
{
  return head_->text;
}

CString& CStringList::GetTail()
{
  return tail_->text;
}

CString CStringList::RemoveHead()
{
  Node* n = head_;
  CString text = n->text;
  head_ = n->next;
  if (head_)
    head_->prev = nullptr;
  else
    tail_ = nullptr;
  delete n;
  --count_;
  return text;
}

CString CStringList::RemoveTail()
{
  Node* n = tail_;
  CString text = n->text;
  tail_ = n->prev;
  if (tail_)
    tail_->next = nullptr;
  else
    head_ = nullptr;
  delete n;
  --count_;
  return text;
}

void CStringList::RemoveAll()
{
  while (head_) {
    Node* next = head_->next;
    delete head_;
    head_ = next;
  }
  tail_ = nullptr;
  count_ = 0;
}

POSITION CStringList::GetHeadPosition() const
{
  return position(head_);
}

POSITION CStringList::GetTailPosition() const
{
  return position(tail_);
}

CString& CStringList::GetNext(POSITION& p)
{
  Node* n = node(p);
  p = position(n->next);
  return n->text;
}

const CString& CStringList::GetNext(POSITION& p) const
{
  Node* n = node(p);
  p = position(n->next);
  return n->text;
}

CString& CStringList::GetPrev(POSITION& p)
{
  Node* n = node(p);
  p = position(n->prev);
  return n->text;
}

CString& CStringList::GetAt(POSITION p)
{
  return node(p)->text;
}

POSITION CStringList::Find(const char* text, POSITION startAfter) const
{
  Node* n = startAfter ? node(startAfter)->next : head_;
  for (; n; n = n->next)
    if (n->text == text)
      return position(n);
  return nullptr;
}

POSITION CStringList::FindIndex(int index) const
{
  if (index < 0 || index >= count_)
    return nullptr;
  Node* n = head_;
  while (index-- > 0)
    n = n->next;
  return position(n);
}

CMapStringToString::CMapStringToString(UINT hashTableSize)
    : size_(hashTableSize ? hashTableSize : 17)
{
  table_ = new Assoc*[size_]();
}

CMapStringToString::~CMapStringToString()
{
  RemoveAll();
  delete[] table_;
}

UINT CMapStringToString::HashKey(const char* key)
{
  UINT hash = 0;
  for (; *key; ++key)
    hash = (hash << 5) + hash + static_cast<UINT>(static_cast<int>(static_cast<signed char>(*key)));
  return hash;
}

CMapStringToString::Assoc* CMapStringToString::find(const char* key, UINT& bucket) const
{
  UINT hash = HashKey(key);
  bucket = hash % size_;
  for (Assoc* a = table_[bucket]; a; a = a->next)
    if (a->key == key)
      return a;
  return nullptr;
}

BOOL CMapStringToString::Lookup(const char* key, CString& value) const
{
  UINT bucket;
  Assoc* a = find(key, bucket);
  if (!a)
    return FALSE;
  value = a->value;
  return TRUE;
}

void CMapStringToString::SetAt(const char* key, const char* value)
{
  (*this)[key] = value;
}

CString& CMapStringToString::operator[](const char* key)
{
  UINT bucket;
  Assoc* a = find(key, bucket);
  if (!a) {
    a = new Assoc{table_[bucket], HashKey(key), CString(key), CString()};
    table_[bucket] = a;
    ++count_;
  }
  return a->value;
}

BOOL CMapStringToString::RemoveKey(const char* key)
{
  UINT bucket;
  if (!find(key, bucket))
    return FALSE;
  for (Assoc** link = &table_[bucket]; *link; link = &(*link)->next) {
    if ((*link)->key == key) {
      Assoc* gone = *link;
      *link = gone->next;
      delete gone;
      --count_;
      return TRUE;
    }
  }
  return FALSE;
}

void CMapStringToString::RemoveAll()
{
  for (UINT b = 0; b < size_; ++b) {
    Assoc* a = table_[b];
    while (a) {
      Assoc* next = a->next;
      delete a;
      a = next;
    }
    table_[b] = nullptr;
  }
  count_ = 0;
}

POSITION CMapStringToString::GetStartPosition() const
{
  for (UINT b = 0; b < size_; ++b)
    if (table_[b])
      return reinterpret_cast<POSITION>(table_[b]);
  return nullptr;
}

void CMapStringToString::GetNextAssoc(POSITION& p, CString& key, CString& value) const
{
  Assoc* a = reinterpret_cast<Assoc*>(p);
  key = a->key;
  value = a->value;
  Assoc* next = a->next;
  for (UINT b = a->hash % size_ + 1; !next && b < size_; ++b)
    next = table_[b];
  p = reinterpret_cast<POSITION>(next);
}
