#ifndef VUSK_TEST_FAKE_BROWSER_H
#define VUSK_TEST_FAKE_BROWSER_H

// An `xdg-open` of our own first on PATH while this lives: each start
// appends its arguments as one line to a log, so a test sees which pages the
// client opened and how often. `break_it()` leaves PATH with no opener.

#include "temp_home.h"

#include <string>
#include <vector>

class fake_browser {
public:
    fake_browser();
    ~fake_browser();
    fake_browser(const fake_browser &) = delete;
    fake_browser &operator=(const fake_browser &) = delete;

    // The URLs opened so far, one per start, in the order the openers wrote
    // them down (openers started together may finish in any order).
    std::vector<std::string> opened() const;
    // The same in the order the openers were started: by process id, which
    // the system hands out in increasing order.
    std::vector<std::string> opened_in_start_order() const;
    void break_it();

private:
    TempDir bin_;
    std::string log_;
    std::string old_path_;
};

#endif
