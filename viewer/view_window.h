// The picture window: one picture at a chosen magnification in a scrollable
// view, with the magnification selector and the tool strip above it.
#pragma once
#include <windows.h>

#include <string>

#include "core/win_handles.h"
#include "viewer/picture_image.h"
#include "viewer/view_rules.h"

namespace lt {

class View {
public:
    static constexpr const char* ClassName = "LumatroveView";
    static constexpr const char* AreaClassName = "LumatroveViewArea";

    // A hidden window of the given outer size at pos; null on failure.
    static View* Create(const std::string& caption, PictureImage image, OuterSize size, POINT pos);

    HWND Hwnd() const { return hwnd_; }
    HDC OwnDc() const { return ownDc_; }

    void SetInfo(int imageHeight, int imageWidth);
    void ReToolIcon();
    void ReFound();
    void Show();
    void Activate();
    // The program's own unload: no close handling, the object is gone after.
    void Unload();

private:
    View(PictureImage image) : image_(std::move(image)) {}
    static LRESULT CALLBACK WndProcThunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK AreaProcThunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK PreviewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT AreaProc(UINT msg, WPARAM wp, LPARAM lp);

    bool OnLoad();
    void Layout();
    bool SetMagnificationIndex(int index);
    void OnScroll(HWND bar, int code);
    void SetBars();
    void MoveThumbs();
    void OnStripDown(int x, int y);
    void OnStripUp();
    void OnAreaDown(UINT msg, int x, int y);
    void OnAreaMove(int x, int y);
    void OnAreaUp(int x, int y);
    // Another window took the mouse (Alt+Tab, a message box): a press or drag
    // in progress ends where it is.
    void OnStripCaptureLost();
    void OnAreaCaptureLost();
    void OnWheel(int delta, WPARAM keys, POINT screen);
    void ZoomAround(int step, double dx, double dy, const POINT* anchor);
    void CopyRange();
    void PickColour(int x, int y);
    void DrawGrid(HDC dc);
    void DrawSelection(HDC dc);
    void PaintArea(HDC target);
    // False when the window went away (Escape).
    bool OnKeyDown(WPARAM key);
    void NextPicture();
    void CloseByUser();

    HWND hwnd_ = nullptr;
    bool ownedByWindow_ = false; // set once creation succeeded
    HDC ownDc_ = nullptr;
    HWND label_ = nullptr, combo_ = nullptr, swatch_ = nullptr, hex_ = nullptr;
    HWND area_ = nullptr, vBar_ = nullptr, hBar_ = nullptr;

    PictureImage image_;
    BitmapDc surface_; // the view's persistent surface
    int surfaceW_ = 0, surfaceH_ = 0;
    GdiObject swatchBrush_;

    int magnification_ = 100;
    int magIndex_ = DefaultMagnificationIndex;
    int imageH_ = 0, imageW_ = 0;
    int dispH_ = 0, dispW_ = 0;
    int viewH_ = 0, viewW_ = 0;
    int yOffset_ = 0, xOffset_ = 0;
    ViewLayout layout_;
    int vValue_ = 0, hValue_ = 0;
    ToolMode tool_ = ToolMode::Zoom;
    bool copyPressed_ = false;
    bool gridShown_ = false;
    bool dragging_ = false;
    int anchorX_ = 0, anchorY_ = 0;
    bool selecting_ = false, selectionExists_ = false;
    float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    int wheelRest_ = 0;
};

} // namespace lt
