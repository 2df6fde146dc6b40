// Kind tests of objects whose classes belong to other parts of the library
// (bars, dock bars, mini frames, the menu bar): they are recognised by the
// name of their run-time class or of a base class, so that the paint code
// does not depend on those classes. Internal to the library.
#pragma once
#include <cstring>

#include "afx.h"

inline bool IsKindOfName(const CObject* object, const char* className) {
    if (object == nullptr) return false;
    for (CRuntimeClass* c = object->GetRuntimeClass(); c != nullptr; c = c->GetBaseClass())
        if (std::strcmp(c->m_lpszClassName, className) == 0) return true;
    return false;
}
