#ifndef VUSK_TEST_GUI_CLIENT_H
#define VUSK_TEST_GUI_CLIENT_H

// The real main frame inside a GUI test process. Its main timer is stopped:
// the test runs the 20 ms ticks itself, so every step is deterministic. The
// configuration is loaded from the test's fresh HOME.

#include "main.h"

#include <wx/weakref.h>

#include <functional>
#include <string>
#include <vector>

struct vusk_render_list;

namespace gui {

// Makes the shared fonts and loads the configuration, as the program's
// start-up does; once per test.
void prepare_client();

// A port on 127.0.0.1 that nothing listens on.
int refused_port();

class client_frame {
public:
    // The frame connects to 127.0.0.1:port on its first tick; by default to
    // a port that refuses.
    explicit client_frame(int port = refused_port());
    ~client_frame();
    client_frame(const client_frame &) = delete;
    client_frame &operator=(const client_frame &) = delete;

    vusk_mw *operator->() const { return frame_.get(); }
    vusk_mw &operator*() const { return *frame_.get(); }
    // False once the frame has been destroyed (and deleted).
    bool alive() const { return frame_.get() != nullptr; }

    // One main tick, then the toolkit's pending work.
    void tick(int count = 1);
    // Ticks until `condition` holds; false when it did not within the time.
    bool tick_until(const std::function<bool()> &condition, int timeout_ms = 10000);

    // Plain text as the stream parser would pass it in one chunk.
    void receive(const std::string &bytes);
    // A line typed by the player (echo requested, as Enter does).
    void type(const std::string &line);

    // Everything written to the main display since it was last cleared; the
    // runs join neighbours of the same colour and attribute.
    std::string shown_text() const;
    struct shown_run {
        std::string text;
        int r = 0;
        int g = 0;
        int b = 0;
        int attr = 0;
        int code = 0;
    };
    std::vector<shown_run> shown_runs() const;

private:
    wxWeakRef<vusk_mw> frame_;
};

}

#endif
