// Times the picture window in process, each figure beside its limit and
// beside the bare platform calls doing the same work in the same run.
//   lt_viewer_bench.exe BIG.jpg MID.jpg SMALL.jpg
// BIG is a 4000 x 3000 JPEG, opened from three copies in turn with the bare
// decoder (the machine is shared: the best of three counts), MID is 2000 x
// 1500 (the largest that 1600% can show), SMALL is opened from 100 copies
// for the memory figure. Windows are left open: under Wine without a window manager each
// closing would stall.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/media_router.h"
#include "core/file_list.h"
#include "core/win_handles.h"
#include "viewer/view_mdl.h"
#include "viewer/view_window.h"

namespace {

double Now()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

void Line(const char* what, double ms, const char* limit, const char* bare, double bareMs)
{
    std::printf("%-44s %8.1f ms  (limit %s; %s %.1f ms, ratio %.2f)\n", what, ms, limit, bare, bareMs,
                bareMs > 0 ? ms / bareMs : 0.0);
}

// The platform's decoder alone: load, then one StretchBlt of the whole picture.
double DecoderAlone(const std::string& path)
{
    std::wstring wide(path.begin(), path.end());
    const double t0 = Now();
    IPicture* pic = nullptr;
    if (FAILED(OleLoadPicturePath(const_cast<LPOLESTR>(wide.c_str()), nullptr, 0, 0, IID_IPicture,
                                  reinterpret_cast<void**>(&pic))) ||
        !pic)
        return -1;
    OLE_HANDLE h = 0;
    pic->get_Handle(&h);
    HBITMAP bitmap = lt::HandleFromOle<HBITMAP>(h);
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bitmap);
    StretchBlt(screen, 0, 0, info.bmWidth, info.bmHeight, mem, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    GdiFlush();
    const double t1 = Now();
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    pic->Release();
    return t1 - t0;
}

// From LoadFile to the window's first complete paint.
double OpenTimed(const std::string& path)
{
    const double t0 = Now();
    lt::FileList().CurrentFile = path;
    lt::LoadFile();
    lt::PumpMessages(); // the frame and children paint too
    GdiFlush();
    return Now() - t0;
}

lt::View* ViewOf(const std::string& path)
{
    int slot = lt::FindViewByName(path);
    return slot ? lt::ViewSlotAt(slot).Window : nullptr;
}

HWND AreaOf(lt::View* v)
{
    return FindWindowExA(v->Hwnd(), nullptr, lt::View::AreaClassName, nullptr);
}

// Grows or shrinks the window until its view is w x h.
void SizeView(lt::View* v, int w, int h)
{
    for (int i = 0; i < 4; ++i) {
        RECT outer{}, area{};
        GetWindowRect(v->Hwnd(), &outer);
        GetClientRect(AreaOf(v), &area);
        SetWindowPos(v->Hwnd(), nullptr, 0, 0, outer.right - outer.left + w - area.right,
                     outer.bottom - outer.top + h - area.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    lt::PumpMessages();
}

double Average(int n, auto&& step)
{
    const double t0 = Now();
    for (int i = 0; i < n; ++i)
        step(i);
    GdiFlush();
    return (Now() - t0) / n;
}

// The same work without the window: fill, stretch the view's part, show it.
double BareRedraw(lt::View* v, HDC picture, int scale)
{
    RECT r{};
    GetClientRect(AreaOf(v), &r);
    HDC target = GetDC(AreaOf(v));
    HDC mem = CreateCompatibleDC(target);
    HBITMAP surface = CreateCompatibleBitmap(target, r.right, r.bottom);
    HGDIOBJ old = SelectObject(mem, surface);
    double ms = Average(50, [&](int) {
        PatBlt(mem, 0, 0, r.right, r.bottom, WHITENESS);
        StretchBlt(mem, 0, 0, r.right, r.bottom, picture, 0, 0, r.right / scale, r.bottom / scale, SRCCOPY);
        BitBlt(target, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
    });
    SelectObject(mem, old);
    DeleteObject(surface);
    DeleteDC(mem);
    ReleaseDC(AreaOf(v), target);
    return ms;
}

void PickMagnification(lt::View* v, int index)
{
    HWND combo = FindWindowExA(v->Hwnd(), nullptr, "ComboBox", nullptr);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(v->Hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

// A copy beside the file (each window needs a path of its own).
std::string CopyOf(const std::string& path, int n)
{
    std::string copy = path.substr(0, path.size() - 4) + "_" + std::to_string(n) + ".jpg";
    CopyFileA(path.c_str(), copy.c_str(), FALSE);
    return copy;
}

std::size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX m{};
    m.cb = sizeof m;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m);
    // Wine leaves PrivateUsage at 0; the commit charge is the same figure.
    return std::max<std::size_t>(m.PrivateUsage, m.PagefileUsage);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: lt_viewer_bench BIG.jpg MID.jpg SMALL.jpg\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    lt::InstallMediaRouter();
    const std::string big = argv[1], mid = argv[2], small = argv[3];

    double bare = 1e9, open = 1e9;
    for (int i = 0; i < 3; ++i) {
        const std::string copy = CopyOf(big, i);
        bare = std::min(bare, DecoderAlone(copy));
        open = std::min(open, OpenTimed(copy));
    }
    Line("(v1) LoadFile to first paint, 4000 x 3000", open, "1.3 x decoder", "decoder alone", bare);

    lt::View* v = ViewOf(CopyOf(big, 0));
    if (!v) {
        std::fprintf(stderr, "no window for %s\n", big.c_str());
        return 1;
    }
    SizeView(v, 1000, 700);
    HDC image = nullptr;
    {
        // The bare redraw stretches from a decoded copy of the same picture.
        std::wstring wide(mid.begin(), mid.end());
        IPicture* pic = nullptr;
        OleLoadPicturePath(const_cast<LPOLESTR>(wide.c_str()), nullptr, 0, 0, IID_IPicture,
                           reinterpret_cast<void**>(&pic));
        OLE_HANDLE h = 0;
        if (pic)
            pic->get_Handle(&h);
        image = CreateCompatibleDC(nullptr);
        SelectObject(image, lt::HandleFromOle<HBITMAP>(h));
    }
    Line("(v2) ReFound at 100%, 1000 x 700 view", Average(50, [&](int) { v->ReFound(); }), "10 ms", "bare redraw",
         BareRedraw(v, image, 1));
    Line("(v3) key scroll step, 100%",
         Average(50, [&](int i) { SendMessageA(v->Hwnd(), WM_KEYDOWN, i % 2 ? VK_LEFT : VK_RIGHT, 1); }), "15 ms",
         "bare redraw", BareRedraw(v, image, 1));

    OpenTimed(mid);
    lt::View* m = ViewOf(mid);
    if (m) {
        SizeView(m, 1000, 700);
        PickMagnification(m, 14); // 1600%
        Line("(v4) ReFound at 1600%, 1000 x 700 view", Average(50, [&](int) { m->ReFound(); }), "20 ms", "bare redraw",
             BareRedraw(m, image, 16));
    }

    const std::size_t before = PrivateBytes();
    for (int i = 0; i < 100; ++i)
        OpenTimed(CopyOf(small, i));
    const std::size_t after = PrivateBytes();
    std::printf("(v5) private bytes: %.1f MB before, %.1f MB with 100 more 320 x 240 windows open (%.0f KB each)\n",
                before / 1048576.0, after / 1048576.0, (double(after) - double(before)) / 1024.0 / 100);
    std::fflush(stdout);
    ExitProcess(0); // leaves the windows to the system
}
