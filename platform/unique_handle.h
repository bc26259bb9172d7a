// Move-only owners for Windows handles, memory the system hands out and COM pointers, so that
// every early return releases what it holds.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <utility>

namespace gls {

// Traits give the handle type, its invalid value and its close call.
template <typename Traits>
class UniqueHandle {
public:
    using T = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(T value) : value_(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }

    // Releases what is held first, then hands out the address for an out parameter.
    T* put()
    {
        reset();
        return &value_;
    }

    T release()
    {
        T value = value_;
        value_ = Traits::invalid();
        return value;
    }

    // Keeps the thread's last error: an owner that goes out of scope between a failed call and
    // the caller's GetLastError must not answer for it.
    void reset(T value = Traits::invalid())
    {
        if (value_ != Traits::invalid()) {
            DWORD error = ::GetLastError();
            Traits::close(value_);
            ::SetLastError(error);
        }
        value_ = value;
    }

private:
    T value_ = Traits::invalid();
};

namespace handle_traits {
struct File {
    using Type = HANDLE;
    static Type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Type h) { ::CloseHandle(h); }
};
struct Kernel {
    using Type = HANDLE;
    static Type invalid() { return nullptr; }
    static void close(Type h) { ::CloseHandle(h); }
};
struct Find {
    using Type = HANDLE;
    static Type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Type h) { ::FindClose(h); }
};
struct Key {
    using Type = HKEY;
    static Type invalid() { return nullptr; }
    static void close(Type k) { ::RegCloseKey(k); }
};
struct Module {
    using Type = HMODULE;
    static Type invalid() { return nullptr; }
    static void close(Type m) { ::FreeLibrary(m); }
};
struct Local {
    using Type = HLOCAL;
    static Type invalid() { return nullptr; }
    static void close(Type p) { ::LocalFree(p); }
};
struct CoTaskString {
    using Type = PWSTR;
    static Type invalid() { return nullptr; }
    static void close(Type p) { ::CoTaskMemFree(p); }
};
struct ScreenDc {
    using Type = HDC;
    static Type invalid() { return nullptr; }
    static void close(Type dc) { ::ReleaseDC(nullptr, dc); }
};
struct StdioFile {
    using Type = std::FILE*;
    static Type invalid() { return nullptr; }
    static void close(Type f) { std::fclose(f); }
};
struct MappedView {
    using Type = const void*;
    static Type invalid() { return nullptr; }
    static void close(Type view) { ::UnmapViewOfFile(view); }
};
// A Restart Manager session. Its library is not imported, so the end call is defined where the
// library is loaded (platform/file_holders.cpp).
struct RestartSession {
    using Type = DWORD;
    static Type invalid() { return 0xFFFFFFFF; }
    static void close(Type session);
};
} // namespace handle_traits

// Handles from CreateFile and friends, whose invalid value is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueHandle<handle_traits::File>;
// Handles whose invalid value is null: processes, threads, mutexes, events, snapshots.
using UniqueKernelHandle = UniqueHandle<handle_traits::Kernel>;
using UniqueFind = UniqueHandle<handle_traits::Find>;
using UniqueKey = UniqueHandle<handle_traits::Key>;
using UniqueModule = UniqueHandle<handle_traits::Module>;
using UniqueLocal = UniqueHandle<handle_traits::Local>;
// Text the shell allocates with CoTaskMemAlloc: known folder paths, a picked item's path.
using UniqueCoTaskString = UniqueHandle<handle_traits::CoTaskString>;
// The whole screen's device context from GetDC(nullptr).
using UniqueScreenDc = UniqueHandle<handle_traits::ScreenDc>;
using UniqueStdioFile = UniqueHandle<handle_traits::StdioFile>;
// A view from MapViewOfFile.
using UniqueMappedView = UniqueHandle<handle_traits::MappedView>;
using UniqueRestartSession = UniqueHandle<handle_traits::RestartSession>;

// A COM pointer whose put() releases what it holds before handing out its address.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other) {
            reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    T** put()
    {
        reset();
        return &ptr_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    void reset()
    {
        if (ptr_) ptr_->Release();
        ptr_ = nullptr;
    }

private:
    T* ptr_ = nullptr;
};

} // namespace gls
