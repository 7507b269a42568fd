#pragma once

#include <windows.h>

#include <utility>

// Move-only owners of Win32 handles: each frees its handle once, when it
// leaves scope or is reset. No implicit conversion to the handle: `.get()`.

template <typename Handle, typename Traits>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle h) : handle_(h) {}
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Traits::empty())) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Traits::empty());
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    Handle get() const { return handle_; }
    bool valid() const { return handle_ != Traits::empty(); }
    Handle release() { return std::exchange(handle_, Traits::empty()); }
    void reset(Handle h = Traits::empty()) {
        if (handle_ != Traits::empty()) Traits::free(handle_);
        handle_ = h;
    }

private:
    Handle handle_ = Traits::empty();
};

template <typename Handle>
struct GdiTraits {
    static Handle empty() { return nullptr; }
    static void free(Handle h) { DeleteObject(h); }
};
struct DCTraits {
    static HDC empty() { return nullptr; }
    static void free(HDC h) { DeleteDC(h); }
};
struct FileTraits {
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static void free(HANDLE h) { CloseHandle(h); }
};
struct GlobalTraits {
    static HGLOBAL empty() { return nullptr; }
    static void free(HGLOBAL h) { GlobalFree(h); }
};
struct ModuleTraits {
    static HMODULE empty() { return nullptr; }
    static void free(HMODULE h) { FreeLibrary(h); }
};

// GDI objects. Declare an object before the SelectionScope that selects it,
// so that it is deselected before it is deleted.
using OwnedFont = Owned<HFONT, GdiTraits<HFONT>>;
using OwnedBrush = Owned<HBRUSH, GdiTraits<HBRUSH>>;
using OwnedPen = Owned<HPEN, GdiTraits<HPEN>>;
using OwnedBitmap = Owned<HBITMAP, GdiTraits<HBITMAP>>;
using OwnedRegion = Owned<HRGN, GdiTraits<HRGN>>;
// A DC of CreateCompatibleDC or CreateDCA.
using OwnedDC = Owned<HDC, DCTraits>;
// A handle of CreateFileA; INVALID_HANDLE_VALUE when there is none.
using OwnedFile = Owned<HANDLE, FileTraits>;
// A block of GlobalAlloc.
using OwnedGlobal = Owned<HGLOBAL, GlobalTraits>;
// A library of LoadLibraryA.
using OwnedModule = Owned<HMODULE, ModuleTraits>;

// Selects an object into a DC and restores the previous one on leaving scope.
class SelectionScope {
public:
    SelectionScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;
    ~SelectionScope() {
        if (previous_) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The DC of a window, released on leaving scope.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};
