// The root of the class layer: objects that know their run-time class.
#pragma once

namespace classlib {}

class CObject;

// A class name, its base and, for classes that can be built by name, a factory.
struct CRuntimeClass {
  const char* m_lpszClassName;
  const CRuntimeClass* m_pBaseClass;
  CObject* (*m_pfnCreateObject)();

  CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
  bool IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
      if (c == base) return true;
    return false;
  }
};

class CObject {
 public:
  CObject() = default;
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
  virtual ~CObject() = default;

  static const CRuntimeClass classCObject;
  virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
  virtual void Serialize() {}  // nothing in Tarn is serialised

  bool IsKindOf(const CRuntimeClass* c) const { return GetRuntimeClass()->IsDerivedFrom(c); }
};

inline const CRuntimeClass CObject::classCObject{"CObject", nullptr, nullptr};

#define RUNTIME_CLASS(name) (&name::class##name)

// Run-time class information for a class; the _DYNCREATE form can also build one by name.
#define DECLARE_DYNAMIC(name)             \
 public:                                  \
  static const CRuntimeClass class##name; \
  const CRuntimeClass* GetRuntimeClass() const override { return &class##name; }

#define DECLARE_DYNCREATE(name) \
  DECLARE_DYNAMIC(name)         \
  static CObject* CreateObject() { return new name; }

#define IMPLEMENT_DYNAMIC(name, base) \
  const CRuntimeClass name::class##name { #name, RUNTIME_CLASS(base), nullptr };
#define IMPLEMENT_DYNCREATE(name, base) \
  const CRuntimeClass name::class##name { #name, RUNTIME_CLASS(base), &name::CreateObject };
