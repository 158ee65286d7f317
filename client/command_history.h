#ifndef VUSK_COMMAND_HISTORY_H
#define VUSK_COMMAND_HISTORY_H

// The command line's histories: one set per connection state (disconnected,
// connecting, logged in), each with its own browse position. Browsing keeps
// the text being typed in a scratch slot, so Down brings it back.

#include <wx/string.h>

#include <string>
#include <vector>

// Longest line sent to the server, in bytes.
constexpr int command_line_limit = 4999;

// The typed text as bytes for sending: characters above U+00FF become '?'
// and the text is cut to the limit.
std::string line_for_sending(const wxString &typed);

class command_history {
public:
    static constexpr int set_count = 3;
    // Commands kept per set.
    static constexpr int most_commands = 98;

    command_history();

    // Stores a sent line in the current set unless it repeats the newest
    // command, and ends browsing.
    void history_store(const wxString &line);

    // One step back (older) or forward (newer) from the current position.
    // `typed` is the text in the line now; returns true and sets `shown` when
    // the line must show another text.
    bool history_up(const wxString &typed, wxString *shown);
    bool history_down(const wxString &typed, wxString *shown);

    // Makes another set current; each set keeps its browse position.
    void swap_history(int set);
    int current_history() const { return current_; }
    int history_position() const { return position_; }

    // The newest command of the current set (empty when there is none).
    wxString newest() const;

    // "Recent Command History:" with up to 19 commands, oldest first, the
    // newest numbered 1, as bytes.
    std::string listing() const;

private:
    // Slot 0 is the empty line, slot 1 the scratch slot, 2 and on the
    // commands (newest first).
    static constexpr int empty_slot = 0;
    static constexpr int scratch_slot = 1;
    static constexpr int first_command_slot = 2;

    struct history_set {
        wxString scratch;
        std::vector<wxString> commands;
        int saved_position = scratch_slot;
    };

    bool slot_exists(int slot) const;
    wxString slot_text(int slot) const;

    history_set sets_[set_count];
    int current_ = 0;
    int position_ = scratch_slot;
};

#endif
