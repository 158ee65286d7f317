#ifndef VUSK_SCROLLBACK_LIMIT_H
#define VUSK_SCROLLBACK_LIMIT_H

// How much a text display keeps. A day's play stays far below these figures;
// they only bound what a long or hostile session can make the client hold.
// Past any of them, the oldest whole lines go (and, when the newest line alone
// is too long, the oldest part of it), down to seven eighths of the limit so
// that this happens seldom.

#include <cstddef>
#include <cstdint>

struct scrollback_limit {
    int64_t lines = 1000000;
    int64_t bytes = int64_t(64) << 20;
    // Runs of one colour, each of which costs a record besides its text:
    // game text changes colour every dozen characters or so, a server doing
    // it at every character would reach this long before the byte limit.
    int64_t runs = int64_t(8) << 20;

    bool exceeded(int64_t kept_lines, int64_t kept_bytes, int64_t kept_runs) const
    {
        return kept_lines > lines || kept_bytes > bytes || kept_runs > runs;
    }
    // What a trim keeps at most.
    int64_t lines_after_trim() const { return lines - lines / 8; }
    int64_t bytes_after_trim() const { return bytes - bytes / 8; }
    int64_t runs_after_trim() const { return runs - runs / 8; }
};

// What a popup window's or a channel's display keeps: 8,192 lines, half a
// megabyte of text, far more than a popup shows or a player scrolls back
// through in a channel, so that the 65 of them a server can fill (32 popups,
// 32 channels and "(all)") hold about 100 MB together at most.
constexpr scrollback_limit side_display_scrollback_limit{int64_t(1) << 13, int64_t(1) << 19, int64_t(1) << 16};

// Finds where the text kept after a trim begins. The text is given from its
// oldest run on, one run at a time; `lines` counts its newlines.
class scrollback_trim {
public:
    scrollback_trim(int64_t lines, int64_t bytes, int64_t runs, const scrollback_limit &limit);

    // The next run: true when the kept text begins inside it, or just after
    // it, with `*dropped` its bytes that go; false when all of it goes and
    // more must.
    bool cut_in(const char *text, size_t length, size_t *dropped);

    int64_t dropped_lines() const { return dropped_lines_; }
    int64_t dropped_bytes() const { return dropped_bytes_; }

private:
    bool too_many_runs() const;
    bool satisfied() const;
    bool done() const;

    int64_t lines_;
    int64_t bytes_;
    int64_t runs_;
    int64_t target_lines_;
    int64_t target_bytes_;
    int64_t target_runs_;
    int64_t dropped_lines_ = 0;
    int64_t dropped_bytes_ = 0;
    int64_t dropped_runs_ = 0;
    bool at_line_start_ = true;
};

#endif
