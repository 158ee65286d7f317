#include "scrollback_limit.h"

#include <algorithm>
#include <cstring>

scrollback_trim::scrollback_trim(int64_t lines, int64_t bytes, int64_t runs, const scrollback_limit &limit)
    : lines_(lines),
      bytes_(bytes),
      runs_(runs),
      target_lines_(limit.lines_after_trim()),
      target_bytes_(limit.bytes_after_trim()),
      target_runs_(limit.runs_after_trim())
{
}

bool scrollback_trim::too_many_runs() const
{
    return runs_ - dropped_runs_ > target_runs_;
}

bool scrollback_trim::satisfied() const
{
    return lines_ - dropped_lines_ <= target_lines_ && bytes_ - dropped_bytes_ <= target_bytes_ && !too_many_runs();
}

// The kept text begins at the start of a line, unless only the newest line
// is left; then anywhere in it.
bool scrollback_trim::done() const
{
    return satisfied() && (at_line_start_ || dropped_lines_ == lines_);
}

bool scrollback_trim::cut_in(const char *text, size_t length, size_t *dropped)
{
    size_t at = 0;
    while (!done() && at < length) {
        if (dropped_lines_ == lines_) {
            // Only the newest line is left: whole runs go while there are too
            // many, else the bytes over the limit.
            const int64_t over = too_many_runs() ? int64_t(length - at) : bytes_ - dropped_bytes_ - target_bytes_;
            const size_t taken = size_t(std::min<int64_t>(over, int64_t(length - at)));
            at += taken;
            dropped_bytes_ += int64_t(taken);
            break;
        }
        const void *newline = memchr(text + at, '\n', length - at);
        const size_t line_end = newline ? size_t(static_cast<const char *>(newline) - text) + 1 : length;
        dropped_bytes_ += int64_t(line_end - at);
        dropped_lines_ += newline ? 1 : 0;
        at_line_start_ = newline != nullptr;
        at = line_end;
    }
    if (length > 0 && at == length)
        ++dropped_runs_;
    *dropped = at;
    return done();
}
