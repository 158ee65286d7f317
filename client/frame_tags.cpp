#include "frame_tags.h"

#include "connection.h"
#include "display_router.h"
#include "main.h"

void vusk_frame_tags::login(const char *name)
{
    frame_.login(name);
}

void vusk_frame_tags::color_flash(const char *arguments)
{
    router_.color_flash(arguments);
}

// The stopwatch has run since the last "tqping" went out.
void vusk_frame_tags::ping_reply()
{
    panels_.record_ping_time(connection_.ping_stopwatch().Time());
}

void vusk_frame_tags::tq_divert(const char *name)
{
    router_.divert(name);
}

void vusk_frame_tags::tq_append(const char *name)
{
    router_.append(name);
}

void vusk_frame_tags::tq_undivert()
{
    router_.undivert();
}

void vusk_frame_tags::tq_unappend()
{
    router_.unappend();
}

void vusk_frame_tags::config_cmd_process(const char *command)
{
    frame_.config_cmd_process(command);
}

void vusk_frame_tags::vote_menu_entry(const char *number, const char *data)
{
    menus_.vote_menu_entry(number, data);
}
