#ifndef VUSK_FRAME_TAGS_H
#define VUSK_FRAME_TAGS_H

// The tags the dispatcher gives the main frame, each handed to the part of
// the frame that carries it out: the diversions and colour flashes to the
// display router, the ping's answer to the status panels, the vote menu's
// entries to the menu bar, a login and the server's "config" tag to the
// frame itself.

#include "tag_owners.h"

class vusk_connection;
class vusk_display_router;
class vusk_menu_bar;
class vusk_mw;
class vusk_panel_set;

class vusk_frame_tags : public frame_tag_owner {
public:
    vusk_frame_tags(vusk_mw &frame, vusk_display_router &router, vusk_panel_set &panels, vusk_menu_bar &menus,
                    vusk_connection &connection)
        : frame_(frame), router_(router), panels_(panels), menus_(menus), connection_(connection)
    {
    }
    vusk_frame_tags(const vusk_frame_tags &) = delete;
    vusk_frame_tags &operator=(const vusk_frame_tags &) = delete;

    void login(const char *name) override;
    void color_flash(const char *arguments) override;
    void ping_reply() override;
    void tq_divert(const char *name) override;
    void tq_append(const char *name) override;
    void tq_undivert() override;
    void tq_unappend() override;
    void config_cmd_process(const char *command) override;
    void vote_menu_entry(const char *number, const char *data) override;

private:
    vusk_mw &frame_;
    vusk_display_router &router_;
    vusk_panel_set &panels_;
    vusk_menu_bar &menus_;
    vusk_connection &connection_;
};

#endif
