// Small owners for platform resources: each releases what it holds when it goes out of
// scope, on every path. None can be copied, so nothing is released twice.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <memory>

// One reference to a COM interface.
template <class T>
class CComPtr {
public:
    CComPtr() = default;
    ~CComPtr() { Release(); }
    CComPtr(const CComPtr&) = delete;
    CComPtr& operator=(const CComPtr&) = delete;
    // A moved holder holds nothing.
    CComPtr(CComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        // operator& is taken for out-parameters: the holder's address is addressof's.
        if (this != std::addressof(other)) {
            Release();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }

    // Takes over a reference that the caller owns (one a creation or an out-parameter
    // handed over), without adding one.
    static CComPtr Adopt(T* p)
    {
        CComPtr holder;
        holder.m_p = p;
        return holder;
    }

    // Asks pUnk for this interface; returns the result of QueryInterface.
    HRESULT QueryFrom(IUnknown* pUnk)
    {
        Release();
        if (pUnk == nullptr)
            return E_POINTER;
        return pUnk->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&m_p));
    }
    void Release()
    {
        if (m_p != nullptr) {
            T* p = m_p;
            m_p = nullptr;
            p->Release();
        }
    }
    // For out-parameters: releases what is held first.
    T** operator&()
    {
        Release();
        return &m_p;
    }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }
    // Passes for the interface itself, so that a held pointer goes wherever a plain one does.
    operator T*() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

// An open registry key.
class CRegKeyHolder {
public:
    CRegKeyHolder() = default;
    ~CRegKeyHolder() { Close(); }
    CRegKeyHolder(const CRegKeyHolder&) = delete;
    CRegKeyHolder& operator=(const CRegKeyHolder&) = delete;

    void Close()
    {
        if (m_hKey != nullptr) {
            RegCloseKey(m_hKey);
            m_hKey = nullptr;
        }
    }
    PHKEY operator&()
    {
        Close();
        return &m_hKey;
    }
    HKEY Get() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};

// A kernel handle that CloseHandle releases (null and INVALID_HANDLE_VALUE hold nothing).
class CHandleHolder {
public:
    CHandleHolder() = default;
    explicit CHandleHolder(HANDLE h) : m_h(h) {}
    ~CHandleHolder() { Close(); }
    CHandleHolder(const CHandleHolder&) = delete;
    CHandleHolder& operator=(const CHandleHolder&) = delete;

    void Close()
    {
        if (m_h != nullptr && m_h != INVALID_HANDLE_VALUE)
            CloseHandle(m_h);
        m_h = nullptr;
    }
    void Reset(HANDLE h)
    {
        Close();
        m_h = h;
    }
    HANDLE Get() const { return m_h; }
    bool IsValid() const { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_h = nullptr;
};

// A search started with FindFirstFile.
class CFindHolder {
public:
    explicit CFindHolder(HANDLE h) : m_h(h) {}
    ~CFindHolder()
    {
        if (m_h != INVALID_HANDLE_VALUE)
            FindClose(m_h);
    }
    CFindHolder(const CFindHolder&) = delete;
    CFindHolder& operator=(const CFindHolder&) = delete;
    HANDLE Get() const { return m_h; }
    bool IsValid() const { return m_h != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_h;
};

// A window's device context from GetDC, given back with ReleaseDC.
class CDCHolder {
public:
    explicit CDCHolder(HWND hWnd) : m_hWnd(hWnd), m_hdc(::GetDC(hWnd)) {}
    ~CDCHolder()
    {
        if (m_hdc != nullptr)
            ::ReleaseDC(m_hWnd, m_hdc);
    }
    CDCHolder(const CDCHolder&) = delete;
    CDCHolder& operator=(const CDCHolder&) = delete;
    HDC Get() const { return m_hdc; }

private:
    HWND m_hWnd;
    HDC m_hdc;
};
