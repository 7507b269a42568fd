#pragma once

#include <windows.h>

#include <utility>

// Owns one COM interface pointer; move-only so every Release happens exactly
// once, and always before the apartment is left.
template <typename T>
class ComOwner {
public:
    ComOwner() = default;
    ComOwner(const ComOwner&) = delete;
    ComOwner& operator=(const ComOwner&) = delete;
    ComOwner(ComOwner&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComOwner& operator=(ComOwner&& other) noexcept {
        if (this != &other) {
            reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    ~ComOwner() { reset(); }

    void reset() {
        if (ptr_) std::exchange(ptr_, nullptr)->Release();
    }
    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    // For out-parameters; drops whatever was held first.
    T** put() {
        reset();
        return &ptr_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

private:
    T* ptr_ = nullptr;
};

// Enters COM for the current thread and leaves it again only if this call was
// the one that counted: a caller's own apartment, of either kind, is left as
// it was.
class ComApartment {
public:
    explicit ComApartment(DWORD mode = COINIT_MULTITHREADED) : result_(CoInitializeEx(nullptr, mode)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (result_ == S_OK || result_ == S_FALSE) CoUninitialize();
    }
    // RPC_E_CHANGED_MODE means the thread already lives in a single-threaded
    // apartment, where the imaging objects work just as well.
    HRESULT result() const { return result_; }
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};
