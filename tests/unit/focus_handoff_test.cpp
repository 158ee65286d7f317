#include "focus_handoff.h"

#include <gtest/gtest.h>

#include <wx/scrolbar.h>

// A popup window's frame and a vertical scrollbar carry the same style bit.
static_assert(wxSB_VERTICAL == wxFRAME_FLOAT_ON_PARENT);

namespace {
// Stands in for a window: its parent, whether it is top-level, its style.
struct fake_window {
    const fake_window *parent = nullptr;
    bool top_level = false;
    long style = 0;

    const fake_window *GetParent() const { return parent; }
    bool IsTopLevel() const { return top_level; }
    long GetWindowStyleFlag() const { return style; }
};
}

TEST(FocusHandoff, WindowInsideTheMainFrameHandsFocusToTheCommandLine)
{
    const fake_window main_frame{nullptr, true, wxDEFAULT_FRAME_STYLE};
    const fake_window display{&main_frame};
    const fake_window text{&display};
    EXPECT_EQ(decide_focus_handoff(&text, &main_frame), focus_handoff::main_input);
    EXPECT_EQ(decide_focus_handoff(&main_frame, &main_frame), focus_handoff::main_input);
}

TEST(FocusHandoff, VerticalScrollbarOfTheMainDisplayStillReachesTheMainFrame)
{
    const fake_window main_frame{nullptr, true, wxDEFAULT_FRAME_STYLE};
    const fake_window display{&main_frame};
    const fake_window scrollbar{&display, false, wxSB_VERTICAL};
    EXPECT_EQ(decide_focus_handoff(&scrollbar, &main_frame), focus_handoff::main_input);
}

TEST(FocusHandoff, WindowInAFloatingFrameKeepsTheFocus)
{
    const fake_window main_frame{nullptr, true, wxDEFAULT_FRAME_STYLE};
    const fake_window popup{&main_frame, true, wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT};
    const fake_window popup_text{&popup};
    const fake_window popup_scrollbar{&popup_text, false, wxSB_VERTICAL};
    EXPECT_EQ(decide_focus_handoff(&popup_text, &main_frame), focus_handoff::keep);
    EXPECT_EQ(decide_focus_handoff(&popup_scrollbar, &main_frame), focus_handoff::keep);
}

TEST(FocusHandoff, WindowOutsideTheMainFramePassesItToItsParent)
{
    const fake_window main_frame{nullptr, true, wxDEFAULT_FRAME_STYLE};
    const fake_window automap_frame{nullptr, true, wxDEFAULT_FRAME_STYLE};
    const fake_window automap{&automap_frame};
    EXPECT_EQ(decide_focus_handoff(&automap, &main_frame), focus_handoff::parent);
    EXPECT_EQ(decide_focus_handoff(&automap_frame, &main_frame), focus_handoff::keep);
    EXPECT_EQ(decide_focus_handoff<fake_window>(nullptr, &main_frame), focus_handoff::keep);
}
