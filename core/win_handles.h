// Small owners for what the platform hands out.
#pragma once
#include <windows.h>

#include "core/message_pump.h"

#include <utility>

namespace lt {

template <typename Traits> class UniqueHandle {
public:
    using Value = typename Traits::Value;
    UniqueHandle() = default;
    explicit UniqueHandle(Value v) : value_(v) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : value_(std::exchange(o.value_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept
    {
        if (this != &o)
            reset(std::exchange(o.value_, Traits::Invalid()));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Value get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Invalid(); }
    Value release() { return std::exchange(value_, Traits::Invalid()); }
    void reset(Value v = Traits::Invalid())
    {
        if (value_ != Traits::Invalid())
            Traits::Close(value_);
        value_ = v;
    }

private:
    Value value_ = Traits::Invalid();
};

struct FileHandleTraits {
    using Value = HANDLE;
    static Value Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Value v) { CloseHandle(v); }
};
struct FindHandleTraits {
    using Value = HANDLE;
    static Value Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Value v) { FindClose(v); }
};
struct KernelHandleTraits {
    using Value = HANDLE;
    static Value Invalid() { return nullptr; }
    static void Close(Value v) { CloseHandle(v); }
};
struct GdiObjectTraits {
    using Value = HGDIOBJ;
    static Value Invalid() { return nullptr; }
    static void Close(Value v) { DeleteObject(v); }
};
struct ModuleTraits {
    using Value = HMODULE;
    static Value Invalid() { return nullptr; }
    static void Close(Value v) { FreeLibrary(v); }
};
struct MemDcTraits {
    using Value = HDC;
    static Value Invalid() { return nullptr; }
    static void Close(Value v) { DeleteDC(v); }
};

using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using KernelHandle = UniqueHandle<KernelHandleTraits>;
using GdiObject = UniqueHandle<GdiObjectTraits>;
using Module = UniqueHandle<ModuleTraits>;
using MemoryDc = UniqueHandle<MemDcTraits>;

// A handle that an OLE interface hands out as OLE_HANDLE (32 bits on both
// architectures). Handles carry 32 significant bits, and on 64-bit Windows
// the handle is their sign extension.
template <typename H> H HandleFromOle(UINT value)
{
    return reinterpret_cast<H>(static_cast<INT_PTR>(static_cast<INT>(value)));
}

// Selects an object into a DC and puts the old one back.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectObjectScope() { SelectObject(dc_, old_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A memory DC with a bitmap of its own selected into it. The bitmap leaves
// the DC before it is deleted (a selected bitmap cannot be deleted and would
// outlive its owner), then the DC goes: whatever order its owner keeps.
class BitmapDc {
public:
    BitmapDc() = default;
    // A width x height bitmap compatible with `like`; empty on failure.
    BitmapDc(HDC like, int width, int height)
        : dc_(CreateCompatibleDC(like)), bitmap_(CreateCompatibleBitmap(like, width, height))
    {
        if (dc_ && bitmap_)
            old_ = SelectObject(dc_.get(), bitmap_.get());
        if (!old_)
            reset();
    }
    BitmapDc(BitmapDc&& o) noexcept
        : dc_(std::move(o.dc_)), bitmap_(std::move(o.bitmap_)), old_(std::exchange(o.old_, nullptr))
    {
    }
    BitmapDc& operator=(BitmapDc&& o) noexcept
    {
        if (this != &o) {
            reset();
            dc_ = std::move(o.dc_);
            bitmap_ = std::move(o.bitmap_);
            old_ = std::exchange(o.old_, nullptr);
        }
        return *this;
    }
    ~BitmapDc() { reset(); }

    HDC get() const { return dc_.get(); }
    explicit operator bool() const { return old_ != nullptr; }
    // The bitmap, out of the DC, for a new owner (the clipboard); the DC goes.
    HBITMAP release()
    {
        if (old_)
            SelectObject(dc_.get(), old_);
        old_ = nullptr;
        dc_.reset();
        return static_cast<HBITMAP>(bitmap_.release());
    }
    void reset()
    {
        if (old_)
            SelectObject(dc_.get(), old_);
        old_ = nullptr;
        bitmap_.reset();
        dc_.reset();
    }

private:
    MemoryDc dc_;
    GdiObject bitmap_;
    HGDIOBJ old_ = nullptr;
};

} // namespace lt
