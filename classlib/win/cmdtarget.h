// Objects that take commands, and the per-class message maps that say which
// handler takes which command. A map is a static table; a command that a
// class's table does not name is looked up in its base's table.
#pragma once

#include <windows.h>

#include "classlib/object.h"

// The help command: the Help button and F1 both become this command.
inline constexpr UINT ID_HELP = 0xE146;

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  using Handler = void (CCmdTarget::*)();

  // One row of a map: a WM_COMMAND notification code and id, and its handler.
  struct MessageMapEntry {
    UINT nCode;
    UINT nID;
    Handler pfn;
  };
  struct MessageMap {
    const MessageMap* pBaseMap;
    const MessageMapEntry* pEntries;  // ends with a row whose pfn is null
  };

  // Runs the handler of the first map, from this class towards the root,
  // that names the command. False when no map names it.
  bool OnCmdMsg(UINT nID, UINT nCode);
  // Whether some map of this object names the command.
  bool HandlesCommand(UINT nID, UINT nCode = 0) const;

 protected:
  virtual const MessageMap* GetMessageMap() const;
};

// clang-format off
// In the class declaration.
#define DECLARE_MESSAGE_MAP() \
 protected:                   \
  const CCmdTarget::MessageMap* GetMessageMap() const override;

// In the class's source file, around the entries. The base's map is asked
// for with a qualified, so non-virtual, call.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                    \
  const CCmdTarget::MessageMap* theClass::GetMessageMap() const { \
    using ThisClass [[maybe_unused]] = theClass;                  \
    using BaseClass = baseClass;                                  \
    static const CCmdTarget::MessageMapEntry entries[] = {
#define END_MESSAGE_MAP()                                                               \
      {0, 0, nullptr}};                                                                 \
    static const CCmdTarget::MessageMap map{this->BaseClass::GetMessageMap(), entries}; \
    return &map;                                                                        \
  }
// clang-format on

#define TARN_MAP_ENTRY(code, id, fn) {code, id, static_cast<CCmdTarget::Handler>(&ThisClass::fn)},
#define ON_COMMAND(id, fn) TARN_MAP_ENTRY(0, id, fn)
#define ON_BN_CLICKED(id, fn) TARN_MAP_ENTRY(BN_CLICKED, id, fn)
#define ON_CBN_SELCHANGE(id, fn) TARN_MAP_ENTRY(CBN_SELCHANGE, id, fn)
