// Checks for code that throws the layer's exceptions: catches CException*,
// reports its class and cause, and deletes it.
#pragma once

#include "afx.h"

struct Thrown {
    CRuntimeClass* kind = nullptr;  // NULL: nothing, or not a CException*
    int cause = -1;
    CString fileName;
};

template <class F>
Thrown ThrownBy(F f) {
    Thrown t;
    try {
        f();
    } catch (CException* e) {
        t.kind = e->GetRuntimeClass();
        if (auto* a = DYNAMIC_DOWNCAST(CArchiveException, e)) {
            t.cause = a->m_cause;
            t.fileName = a->m_strFileName;
        } else if (auto* fe = DYNAMIC_DOWNCAST(CFileException, e)) {
            t.cause = fe->m_cause;
            t.fileName = fe->m_strFileName;
        }
        e->Delete();
    } catch (...) {
    }
    return t;
}
