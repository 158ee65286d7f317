#ifndef VUSK_MAIN_FRAME_LINK_H
#define VUSK_MAIN_FRAME_LINK_H

class wxWindow;

// The calls that panels make back into the main frame. The main frame
// implements them and registers itself in `main_link` while it exists.
class main_frame_link {
public:
    // Records the URL; it is opened in the browser by the next main tick.
    virtual void open_url(const char *url) = 0;
    // Hands the keyboard focus to the command line after a click in `window`;
    // 0 when it could not.
    virtual int transfer_focus_main(wxWindow *window) = 0;

protected:
    ~main_frame_link() = default;
};

inline main_frame_link *main_link = nullptr;

#endif
