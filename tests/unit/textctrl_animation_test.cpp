// The background colour flash and the drag auto-scroll, which share the
// store's animation counter; one step per 20 ms main tick.
#include "fake_textctrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
constexpr int tick_ms = 20;
const vusk_color base{0, 0, 64};

struct flash_run {
    std::vector<vusk_color> colours;
    int ticks = 0;
};

// The background at once and after each tick until the animation ends.
flash_run run_flash(fake_textctrl &store, const char *args, int max_ticks = 5000)
{
    flash_run run;
    store.parse_colorflash(args);
    run.colours.push_back(store.get_background());
    while (run.ticks < max_ticks) {
        ++run.ticks;
        const int going = store.animation_step(tick_ms);
        run.colours.push_back(store.get_background());
        if (!going)
            break;
    }
    return run;
}

// A store whose own background is `base`, so that its return shows.
class flash_store : public fake_textctrl {
public:
    flash_store() { SetTextColor(vusk_WHITE, base); }
};
}

TEST(TextctrlFlash, BlackToRedInFiveStepsShowsSixColoursThenTheBase)
{
    flash_store store;
    const flash_run run = run_flash(store, "000000 ff0000 5");
    EXPECT_EQ(run.colours, (std::vector<vusk_color>{{0, 0, 0}, {51, 0, 0}, {102, 0, 0}, {153, 0, 0},
                                                    {204, 0, 0}, {255, 0, 0}, base}));
    EXPECT_EQ(run.ticks, 6);
    EXPECT_EQ(store.animation_starts, 1);
    EXPECT_EQ(store.animation().remaining, 0);
    EXPECT_EQ(store.repaints, 7);
}

TEST(TextctrlFlash, SegmentsFollowEachOtherFromThePreviousTarget)
{
    flash_store store;
    const flash_run run = run_flash(store, "000000 ff0000 2 00ff00 2 0000ff x");
    EXPECT_EQ(run.colours, (std::vector<vusk_color>{{0, 0, 0}, {127, 0, 0}, {255, 0, 0}, {255, 0, 0},
                                                    {127, 127, 0}, {0, 255, 0}, base}));
}

TEST(TextctrlFlash, OverlappingFlashesShowTheBrighterChannels)
{
    flash_store store;
    store.parse_colorflash("000000 ff0000 5");
    store.animation_step(tick_ms);
    store.animation_step(tick_ms);
    store.parse_colorflash("000000 0000ff 5");
    EXPECT_EQ(store.get_background(), vusk_color(153, 0, 0));
    std::vector<vusk_color> seen;
    int ticks = 0;
    while (store.animation_step(tick_ms))
        seen.push_back(store.get_background()), ++ticks;
    seen.push_back(store.get_background());
    EXPECT_EQ(seen, (std::vector<vusk_color>{{204, 0, 51}, {255, 0, 102}, {0, 0, 153}, {0, 0, 204},
                                             {0, 0, 255}, base}));
}

TEST(TextctrlFlash, StepCountsOutsideOneToAThousandAreClamped)
{
    for (const char *args : {"000000 ff0000 0", "000000 ff0000 -5"}) {
        flash_store store;
        const flash_run run = run_flash(store, args);
        EXPECT_EQ(run.colours, (std::vector<vusk_color>{{0, 0, 0}, {255, 0, 0}, base})) << args;
        EXPECT_EQ(store.animation().remaining, 0);

        const flash_run again = run_flash(store, "000000 00ff00 1");
        EXPECT_EQ(again.colours.back(), base);
        EXPECT_EQ(again.colours[1], vusk_color(0, 255, 0));
        EXPECT_EQ(store.animation_starts, 2);
    }

    flash_store store;
    const flash_run run = run_flash(store, "000000 ffffff 2000000000");
    EXPECT_EQ(run.ticks, 1001);
    EXPECT_EQ(run.colours[500], vusk_color(127, 127, 127));
    EXPECT_EQ(run.colours[1000], vusk_WHITE);
}

TEST(TextctrlFlash, BadWordsGiveBlackOrStartNothing)
{
    flash_store store;
    store.parse_colorflash("000000 ff0000 x");
    store.parse_colorflash("000000 ff0000");
    store.parse_colorflash(nullptr);
    EXPECT_EQ(store.animation_starts, 0);
    EXPECT_EQ(store.get_background(), base);

    const flash_run run = run_flash(store, "zz0000 ff0000 1 00ff00");
    EXPECT_EQ(run.colours, (std::vector<vusk_color>{{0, 0, 0}, {255, 0, 0}, base}));
}

TEST(TextctrlFlash, HexColours)
{
    EXPECT_EQ(GetColorFromHexString("ff8000"), vusk_color(255, 128, 0));
    EXPECT_EQ(GetColorFromHexString("FF80a0 rest"), vusk_color(255, 128, 160));
    EXPECT_EQ(GetColorFromHexString("12345678"), vusk_color(0x12, 0x34, 0x56));
    for (const char *bad : {"ff80", "ff 800", "gg0000", "", "-12345"})
        EXPECT_EQ(GetColorFromHexString(bad), vusk_BLACK) << bad;
    EXPECT_EQ(GetColorFromHexString(nullptr), vusk_BLACK);
}

TEST(TextctrlFlash, FlashesAndSegmentsAreCapped)
{
    const colorflash white{0, 0, 0, {{255, 255, 255, 1, 0}}};
    const colorflash dark{0, 0, 0, {{0, 0, 0, 1000, 0}}};
    colorflash_list kept;
    colorflash_list overflowing;
    kept.add(white);
    overflowing.add(white);
    for (int i = 1; i < colorflash_list::max_flashes; ++i) {
        kept.add(dark);
        overflowing.add(dark);
    }
    overflowing.add(dark);
    kept.next_color(base);
    overflowing.next_color(base);
    EXPECT_EQ(kept.next_color(base), vusk_WHITE);
    EXPECT_EQ(overflowing.next_color(base), vusk_BLACK);

    colorflash long_one;
    long_one.segments.resize(500, colorflash_segment{1, 2, 3, 5, 0});
    EXPECT_EQ(colorflash_list().add(long_one), colorflash_list::max_segments * 6);
}

TEST(TextctrlAnimation, CounterStepsOncePerPeriodAndStopsAtZero)
{
    flash_store store;
    store.parse_colorflash("000000 ff0000 5");
    store.animation_step(10);
    EXPECT_EQ(store.animation().remaining, 6);
    store.animation_step(10);
    EXPECT_EQ(store.animation().remaining, 5);
    EXPECT_EQ(store.animation().elapsed, 5);
    store.animation_step(-100);
    store.animation_step(2000000000);
    EXPECT_EQ(store.animation().remaining, 4);
    EXPECT_EQ(store.animation().elapsed, 0);
    while (store.animation_step(tick_ms)) {
    }
    EXPECT_EQ(store.animation_step(tick_ms), 0);
    EXPECT_EQ(store.animation().remaining, 0);
}

class TextctrlAutoScroll : public testing::Test {
protected:
    TextctrlAutoScroll() : store(100, 300)
    {
        for (int i = 0; i < 60; ++i)
            store.append("line " + std::to_string(i) + "\n");
        store.handle_mouse({textctrl_mouse_event::left_press, 15, 150});
        store.scroll_owner.calls.clear();
    }

    // The ticks (counted from 1) on which the store asked to scroll.
    std::vector<int> scrolling_ticks(int ticks, const std::string &request)
    {
        std::vector<int> found;
        for (int tick = 1; tick <= ticks; ++tick) {
            store.scroll_owner.calls.clear();
            store.animation_step(tick_ms);
            if (store.scroll_owner.calls == std::vector<std::string>{"disable", request})
                found.push_back(tick);
            else
                EXPECT_TRUE(store.scroll_owner.calls.empty()) << "tick " << tick;
        }
        return found;
    }

    fake_textctrl store;
};

TEST_F(TextctrlAutoScroll, HeldAboveTheWindowScrollsUpAtAFixedCadence)
{
    store.handle_mouse({textctrl_mouse_event::motion, 15, -45, true});
    EXPECT_EQ(store.get_auto_scroll(), -4);
    EXPECT_EQ(store.animation_starts, 1);
    EXPECT_EQ(scrolling_ticks(20, "up 4"), (std::vector<int>{2, 6, 10, 14, 17, 20}));
    EXPECT_TRUE(store.has_mouse_selection());
    EXPECT_EQ(store.sel_start_line, store.get_bottom_line() - 19);
}

TEST_F(TextctrlAutoScroll, HeldBelowTheWindowScrollsDown)
{
    store.handle_mouse({textctrl_mouse_event::motion, 15, 345, true});
    EXPECT_EQ(store.get_auto_scroll(), 4);
    EXPECT_EQ(scrolling_ticks(6, "down 4"), (std::vector<int>{2, 6}));
}

TEST_F(TextctrlAutoScroll, SlightlyAboveOrAfterReleaseDoesNotScroll)
{
    store.handle_mouse({textctrl_mouse_event::motion, 15, -5, true});
    EXPECT_EQ(store.get_auto_scroll(), 0);
    EXPECT_TRUE(scrolling_ticks(20, "up 0").empty());

    store.handle_mouse({textctrl_mouse_event::motion, 15, -45, true});
    store.handle_mouse({textctrl_mouse_event::left_release, 15, -45});
    EXPECT_TRUE(scrolling_ticks(20, "up 4").empty());
}
