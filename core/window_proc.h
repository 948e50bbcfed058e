// One window procedure for the program's window classes: the object handed to
// CreateWindowEx is kept in the window's user data from WM_NCCREATE until
// WM_NCDESTROY, and its WndProc receives every message in between. A class
// names it a friend: `friend LRESULT CALLBACK WindowProcOf<Form>(HWND, UINT,
// WPARAM, LPARAM);` and has an `hwnd_` member that follows the window.
#pragma once
#include <windows.h>

namespace lt {

template <class T> LRESULT CALLBACK WindowProcOf(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    const LRESULT result = self->WndProc(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

} // namespace lt
