#ifndef VUSK_WHEEL_STEPS_H
#define VUSK_WHEEL_STEPS_H

// Mouse-wheel scrolling of a text view: the wheel freezes the view and moves
// it three lines per whole wheel step.

#include <wx/event.h>

#include <cstdlib>

// Whole wheel steps in a stream of wheel rotations: a touchpad sends many
// small rotations that add up to one step of `delta`.
class wheel_accumulator {
public:
    // Most steps one rotation may give.
    static constexpr int most_steps = 10;

    // Adds a rotation; returns the whole steps it completes (negative down).
    int add(int rotation, int delta);
    long long total() const { return total_; }

private:
    long long total_ = 0;
    int pending_ = 0;
};

constexpr int wheel_step_lines = 3;

// `Target` has disable_scrolling(), scroll_up(int) and scroll_down(int).
// Horizontal wheel events are not for it.
template <class Target>
void scroll_by_wheel(Target &target, wheel_accumulator &wheel, const wxMouseEvent &event)
{
    if (event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL || event.GetWheelRotation() == 0)
        return;
    int steps = wheel.add(event.GetWheelRotation(), event.GetWheelDelta());
    if (steps == 0)
        return;
    target.disable_scrolling();
    for (int step = 0; step < std::abs(steps); ++step) {
        if (steps > 0)
            target.scroll_up(wheel_step_lines);
        else
            target.scroll_down(wheel_step_lines);
    }
}

#endif
