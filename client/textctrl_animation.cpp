// The store's animation: the background colour flash and the auto-scroll of a
// drag held above or below the window share one step counter.
#include "textctrl_store.h"

#include "util.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {
constexpr int step_period_ms = 15;
constexpr int auto_scroll_steps = 15;
// An auto-scroll step is due when the counter leaves this remainder by this
// divisor: every fourth step, counting down.
constexpr int auto_scroll_divisor = 4;
constexpr int auto_scroll_remainder = 1;
}

int textctrl_store::animation_step(int milliseconds)
{
    advance_counter(milliseconds);
    bool changed = false;
    if (!flashes.empty()) {
        background = calc_colorflash_color();
        changed = true;
    }
    if (auto_scroll != 0 && counter.remaining % auto_scroll_divisor == auto_scroll_remainder) {
        auto_scroll_step();
        changed = true;
    }
    if (changed && counter.remaining != counter.painted) {
        counter.painted = counter.remaining;
        repaint_view();
    }
    return counter.remaining > 0;
}

// One step per full period gathered; a call of a whole period or more takes
// exactly one step and starts gathering afresh. The counter stops at 0.
void textctrl_store::advance_counter(int milliseconds)
{
    const int period = std::max(counter.period, 1);
    const int elapsed = milliseconds >= period ? period : counter.elapsed + std::max(milliseconds, 0);
    if (elapsed < period) {
        counter.elapsed = elapsed;
        return;
    }
    counter.elapsed = milliseconds >= period ? 0 : elapsed - period;
    counter.remaining = std::max(counter.remaining - 1, 0);
}

void textctrl_store::auto_scroll_step()
{
    if (counter.remaining < auto_scroll_divisor)
        counter = {auto_scroll_divisor, step_period_ms, 0, 0};
    if (owner != nullptr) {
        owner->disable_scrolling();
        if (auto_scroll < 0) {
            owner->scroll_up(-auto_scroll);
            translate_xy_to_line_and_offset(0, 0, &cursor_line, &cursor_offset);
        } else {
            owner->scroll_down(auto_scroll);
            const int64_t below = 4 * int64_t(std::max(view_height, 1));
            translate_xy_to_line_and_offset(0, int(std::min<int64_t>(below, INT_MAX)), &cursor_line,
                                            &cursor_offset);
        }
    }
    settle_selection();
}

void textctrl_store::arm_auto_scroll()
{
    if (counter.remaining == 0) {
        counter = {auto_scroll_steps, step_period_ms, 0, 0};
        begin_animation();
    } else if (counter.remaining < auto_scroll_steps) {
        counter = {auto_scroll_steps, step_period_ms, 0, 0};
    }
}

// Makes sure the counter runs for at least `steps` more steps.
void textctrl_store::arm_animation(int steps)
{
    if (counter.remaining < steps)
        counter = {steps, step_period_ms, 0, 0};
    begin_animation();
    if (counter.remaining != counter.painted) {
        counter.painted = counter.remaining;
        repaint_view();
    }
}

// "RRGGBB RRGGBB steps [RRGGBB steps]...": a start colour, then targets each
// reached in a number of steps. A first step count that is not a number
// starts nothing; later pairs end at the first that is not.
void textctrl_store::parse_colorflash(const char *args)
{
    if (args == nullptr)
        return;
    const char *start_word = args + strspn(args, " \t\n");
    const char *target_word = next_arg(start_word);
    const char *steps_word = next_arg(target_word);
    int steps = 0;
    if (steps_word == nullptr || !is_int(steps_word, &steps))
        return;
    colorflash flash;
    const vusk_color start = GetColorFromHexString(start_word);
    flash.red = start.r;
    flash.green = start.g;
    flash.blue = start.b;
    for (;;) {
        const vusk_color target = GetColorFromHexString(target_word);
        flash.segments.push_back({target.r, target.g, target.b, steps, 0});
        target_word = next_arg(steps_word);
        steps_word = next_arg(target_word);
        if (steps_word == nullptr || !is_int(steps_word, &steps) ||
            flash.segments.size() >= size_t(colorflash_list::max_segments))
            break;
    }
    const int total = flashes.add(std::move(flash));
    background = calc_colorflash_color();
    arm_animation(total);
}

vusk_color textctrl_store::calc_colorflash_color()
{
    return flashes.next_color(base_background);
}
