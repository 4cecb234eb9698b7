#include "classlib/win/cmdtarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {

const CCmdTarget::MessageMapEntry* FindEntry(const CCmdTarget::MessageMap* map, UINT nID, UINT nCode) {
  for (; map; map = map->pBaseMap)
    for (const CCmdTarget::MessageMapEntry* e = map->pEntries; e->pfn; ++e)
      if (e->nID == nID && e->nCode == nCode) return e;
  return nullptr;
}

}  // namespace

const CCmdTarget::MessageMap* CCmdTarget::GetMessageMap() const {
  static const MessageMapEntry none[] = {{0, 0, nullptr}};
  static const MessageMap map{nullptr, none};
  return &map;
}

bool CCmdTarget::OnCmdMsg(UINT nID, UINT nCode) {
  const MessageMapEntry* entry = FindEntry(GetMessageMap(), nID, nCode);
  if (!entry) return false;
  (this->*entry->pfn)();
  return true;
}

bool CCmdTarget::HandlesCommand(UINT nID, UINT nCode) const { return FindEntry(GetMessageMap(), nID, nCode); }
