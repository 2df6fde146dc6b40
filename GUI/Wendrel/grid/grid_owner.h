// Owning holders of the grid classes: a pointer (or GDI handle) with an owned
// flag. Copying or assigning a holder moves the ownership to the target and
// clears the source's flag; the source keeps pointing at the object but no
// longer deletes it. This is how views, cell elements and a style's GDI
// objects change hands. GUI thread only, like everything of the grid.
#pragma once

#include <windows.h>

template <class T>
class TOwnPtr {
public:
    TOwnPtr() = default;
    explicit TOwnPtr(T* p, bool owned = true) : m_owned(owned), m_p(p) {}
    // Takes the pointer and the flag; the source stops owning (also a const
    // source: the flag is the holder's bookkeeping, not its value).
    TOwnPtr(const TOwnPtr& src) : m_owned(src.m_owned), m_p(src.m_p) { src.m_owned = false; }
    TOwnPtr& operator=(const TOwnPtr& src) {
        if (this != &src) {
            T* p = src.m_p;
            const bool owned = src.m_owned;
            src.m_owned = false;
            Reset(p, owned);
        }
        return *this;
    }
    ~TOwnPtr() {
        if (m_owned) delete m_p;
    }

    // Replaces the pointer; the previous object is deleted when owned and
    // different from the new one.
    void Reset(T* p, bool owned = true) {
        if (m_owned && m_p != p) delete m_p;
        m_p = p;
        m_owned = owned;
    }
    // Gives up the ownership, keeping the pointer.
    T* Release() {
        m_owned = false;
        return m_p;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    bool IsOwned() const { return m_owned; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    mutable bool m_owned = true;
    T* m_p = nullptr;
};

// The same for a GDI object handle (font, brush, pen, bitmap), deleted with
// DeleteObject.
template <class H>
class TGdiHandle {
public:
    TGdiHandle() = default;
    explicit TGdiHandle(H h, bool owned = true) : m_owned(owned), m_h(h) {}
    TGdiHandle(const TGdiHandle& src) : m_owned(src.m_owned), m_h(src.m_h) { src.m_owned = false; }
    TGdiHandle& operator=(const TGdiHandle& src) {
        if (this != &src) {
            H h = src.m_h;
            const bool owned = src.m_owned;
            src.m_owned = false;
            Reset(h, owned);
        }
        return *this;
    }
    ~TGdiHandle() { Free(); }

    void Reset(H h, bool owned = true) {
        if (m_h != h) Free();
        m_h = h;
        m_owned = owned && h != nullptr;
    }
    H Get() const { return m_h; }
    bool IsOwned() const { return m_owned; }

private:
    void Free() {
        if (m_owned && m_h) ::DeleteObject(m_h);
        m_owned = false;
    }

    mutable bool m_owned = false;
    H m_h = nullptr;
};
