#ifndef VUSK_TEXTCTRL_OWNER_H
#define VUSK_TEXTCTRL_OWNER_H

// What a scrollback store asks of the terminal window that owns it: when the
// mouse scrolls, the terminal window keeps the following/frozen state and
// moves the view (it limits each scroll to half a page and at least a line);
// a clicked URL goes to it to be opened.
class textctrl_owner {
public:
    virtual void open_url(const char *url) = 0;
    virtual void disable_scrolling() = 0;
    virtual void enable_scrolling() = 0;
    virtual void scroll_up(int lines) = 0;
    virtual void scroll_down(int lines) = 0;

protected:
    ~textctrl_owner() = default;
};

#endif
