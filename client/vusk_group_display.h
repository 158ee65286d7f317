#ifndef VUSK_GROUP_DISPLAY_H
#define VUSK_GROUP_DISPLAY_H

// The members of the player's group, one row each with the name and small
// health, mana and movement bars. The "group" tag replaces the whole list;
// the panel fits its height to the rows, on the main frame (growing upward
// in the left-bottom layout) or floating over the main display.

#include "hpbar_display_data.h"
#include "tag_owners.h"
#include "vusk_embedded_window.h"

#include <string>
#include <vector>

class vusk_group_display : public vusk_embedded_window, public group_tag_owner {
public:
    vusk_group_display(wxWindow *parent, int id, const wxString &name);

    using vusk_embedded_window::SetSize;

    // Hides the panel and forgets every row.
    void reset();
    // The "group" tag: the rows, the height, shown per the group-status
    // setting; returns whether the height changed.
    bool update(const char *data) override;
    // The height the rows need; 1 without rows.
    int get_ysize() const;
    // Takes the height the rows need, keeping the top edge, or in the
    // left-bottom layout the bottom edge; returns whether it changed.
    int reposition_window();
    void change_button_font();

    void resize(int changed) override;
    void repaint_dc(vusk_bitmap &bitmap) override;

    bool has_rows() const { return !entries.empty(); }
    // The tooltip the pointer at y gets; empty for none.
    std::string tooltip_at(int y) const;

    // Where the panel sits (group_dock), set by the main frame; 0 until then.
    int dock_state = 0;
    std::vector<hpbar_display_data> entries;
    int row_height = 24;
    int short_row_height = 13;

private:
    void mouse_event_handler(wxMouseEvent &event);
    void OnFocusGot(wxFocusEvent &event);

    std::string tooltip_;

    wxDECLARE_EVENT_TABLE();
};

#endif
