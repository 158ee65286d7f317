#ifndef VUSK_TAG_DISPATCH_H
#define VUSK_TAG_DISPATCH_H

// The tagged messages that the stream parser takes out of the game text are
// recognised here, their simple payloads parsed (every number overflow-safe),
// and each is handed to the owner registered for it (tag_owners.h). Where
// plain text goes is decided here too.

#include "stream_parser.h"
#include "tag_owners.h"

// The displays that one run of plain text goes to.
struct text_route {
    bool channel = false;
    bool main = false;
    // The current display: the main one, or a popup that text is diverted to.
    bool current = false;
};

class vusk_tag_dispatcher : public vusk_tag_sink {
public:
    vusk_tag_dispatcher() = default;
    vusk_tag_dispatcher(const vusk_tag_dispatcher &) = delete;
    vusk_tag_dispatcher &operator=(const vusk_tag_dispatcher &) = delete;

    // One complete tag. A null tag is ignored and null data taken as empty.
    // The data's length is that of its terminated text: the debugging
    // commands that inject tags pass a nominal length.
    void process_tagged_data(const char *tag, const char *data, int length) override;

    // Where the next run of plain text goes, given the ChannelWindow and
    // ChannelDupe settings.
    text_route route_text(bool channel_window_on, bool channel_dupe_on) const;

    // Ends a channel diversion, as "chudiv" does.
    void channel_undivert();
    // Between "chdiv" and "chudiv" (or a disconnect).
    bool channel_divert_active() const { return channel_divert_active_; }

    // Each subsystem registers itself here as it is built.
    tag_owners owners;

private:
    struct tag_row;
    static const tag_row table[];

    void dispatch_prefixed(const char *tag, const char *data);
    void login(const char *data);
    void directions(const char *data);
    void enemy(const char *data);
    void event(const char *data);
    void hp(const char *data);
    void xp(const char *data);
    void buttons(const char *tag, const char *data);

    bool channel_divert_active_ = false;
};

#endif
