#pragma once
// Root of the window and command classes, with just enough run-time class
// information for IsKindOf and RUNTIME_CLASS.

#include "platform/base/types.h"

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    CRuntimeClass* m_pBaseClass;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    static CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                                    \
public:                                                                                                                \
    static CRuntimeClass class##class_name;                                                                            \
    CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                                 \
    CRuntimeClass class_name::class##class_name = {#class_name, RUNTIME_CLASS(base_class_name)};                       \
    CRuntimeClass* class_name::GetRuntimeClass() const                                                                 \
    {                                                                                                                  \
        return RUNTIME_CLASS(class_name);                                                                              \
    }

// Creation by class name is not offered; the dynamic forms only name the class.
#define DECLARE_DYNCREATE(class_name)                    DECLARE_DYNAMIC(class_name)
#define IMPLEMENT_DYNCREATE(class_name, base_class_name) IMPLEMENT_DYNAMIC(class_name, base_class_name)

#define DYNAMIC_DOWNCAST(class_name, object)                                                                           \
    ((object) && (object)->IsKindOf(RUNTIME_CLASS(class_name)) ? static_cast<class_name*>(object) : nullptr)
