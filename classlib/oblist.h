// A list of object pointers. Tarn only uses it as a stack: AddHead and RemoveHead.
#pragma once

#include <cstddef>
#include <vector>

#include "classlib/object.h"

class CObList : public CObject {
 public:
  // Nodes are reserved nBlockSize at a time.
  explicit CObList(size_t nBlockSize = 10) : m_nBlockSize(nBlockSize ? nBlockSize : 1) {}

  bool IsEmpty() const { return m_items.empty(); }
  size_t GetCount() const { return m_items.size(); }
  CObject* GetHead() const { return m_items.back(); }

  void AddHead(CObject* p) {
    if (m_items.size() == m_items.capacity()) m_items.reserve(m_items.size() + m_nBlockSize);
    m_items.push_back(p);
  }
  CObject* RemoveHead() {
    CObject* head = m_items.back();
    m_items.pop_back();
    return head;
  }
  // Forgets the pointers; deleting the objects is the owner's business.
  void RemoveAll() { m_items.clear(); }

 private:
  size_t m_nBlockSize;
  std::vector<CObject*> m_items;  // the head is at the back
};
