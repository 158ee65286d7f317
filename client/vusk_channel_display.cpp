#include "vusk_channel_display.h"

#include "ansi_display_layout.h"
#include "scrollback_limit.h"
#include "vusk_channel_button.h"

vusk_channel_display::vusk_channel_display(vusk_channel_button *button, wxWindow *parent, int id,
                                           const wxString &name)
    : vusk_ansi_display(parent, id, name), button(button)
{
    set_scrollback_limit(side_display_scrollback_limit);
}

void vusk_channel_display::repaint_dc(vusk_bitmap &bitmap)
{
    bitmap.Clear(vusk_BLACK);
    const int W = bitmap.GetWidth() - get_scrollbar_width();
    const int H = bitmap.GetHeight();
    const frame_colors colors = ansi_frame_colors(following != 0, flash_count > 0, flash_count);
    // Without a tab the gap lies left of the display, where nothing is drawn.
    int rel = -W;
    int bw = 0;
    if (button != nullptr) {
        rel = button->GetPosition().x - GetPosition().x;
        bw = button->GetSize().GetWidth();
    }
    bitmap.with_pixels([&](pixel_view &view) {
        view.DrawLine(1, 1, rel + 1, 1, colors.inner);
        view.DrawLine(rel + bw - 1, 1, W - 1, 1, colors.inner);
        view.DrawLine(1, 1, 1, H - 1, colors.inner);
        view.DrawLine(1, H - 2, W - 1, H - 2, colors.inner);
        view.DrawLine(W - 2, 1, W - 2, H - 1, colors.inner);
        view.DrawLine(0, 0, rel + 2, 0, colors.outer);
        view.DrawLine(rel + bw - 2, 0, W, 0, colors.outer);
        view.DrawLine(0, 0, 0, H, colors.outer);
        view.DrawLine(0, H - 1, W, H - 1, colors.outer);
        view.DrawLine(W - 1, 0, W - 1, H, colors.outer);
    });
}
