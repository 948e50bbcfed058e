#include "controller/appearance_rules.h"

#include "core/text_rules.h"

namespace lt {

namespace {

// x > edge / factor in floating point.
bool BeyondFar(std::int32_t p, double edge, double factor)
{
    if (factor == 0)
        return false;
    return p > edge / factor;
}

// p < round(edge) \ round(factor), whole-number division toward zero.
bool BeforeNear(std::int32_t p, double edge, double factor)
{
    const std::int64_t divisor = RoundHalfEven(factor);
    if (divisor == 0)
        return false;
    return p < RoundHalfEven(edge) / divisor;
}

} // namespace

bool PointerOutsideWindow(const AppearanceInput& in)
{
    return BeyondFar(in.X, in.Left + in.Width, in.Tppx) || BeyondFar(in.Y, in.Top + in.Height, in.Tppy) ||
           BeforeNear(in.Y, in.Top, in.Tppy) || BeforeNear(in.X, in.Left, in.Tppx);
}

bool InTrigger(const TriggerRect& r, std::int32_t x, std::int32_t y)
{
    return r.YStart <= y && y <= r.YEnd && r.XStart <= x && x <= r.XEnd;
}

AppearanceResult AppearanceTick(const AppearanceInput& in)
{
    AppearanceResult out;
    out.Shown = in.Shown;
    out.LeaveCounter = in.LeaveCounter;

    const bool busy = in.FolderBusy || in.SettingsOpen || in.OpenDialogBusy;
    if (in.Shown && !in.Pinned && !busy) {
        if (PointerOutsideWindow(in)) {
            // Every second tick outside only resets the counter, so a window
            // that came up under the pointer is not hidden at once.
            if (static_cast<int>(in.LeaveCounter) + 1 == 1) {
                out.LeaveCounter = 1;
                out.Actions.push_back(AppearanceAction::HideAndClearPressed);
                out.Shown = false;
            } else {
                out.LeaveCounter = 0;
            }
        } else {
            out.LeaveCounter = 0;
        }
    }

    if (InTrigger(in.Trigger, in.X, in.Y)) {
        out.Actions.push_back(AppearanceAction::Show);
        if (!out.Shown) {
            out.Shown = true;
            out.Actions.push_back(AppearanceAction::Refresh);
        }
    }
    return out;
}

} // namespace lt
