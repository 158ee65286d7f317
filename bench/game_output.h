#ifndef VUSK_BENCH_GAME_OUTPUT_H
#define VUSK_BENCH_GAME_OUTPUT_H

// The game text the display-path benchmarks feed, and the reads it arrives in.

#include <algorithm>
#include <cstdint>
#include <string>

constexpr int READ_SIZE = 4096;
constexpr int SESSION_LINES = 10000;

// Game output as it arrives: 80-column lines, a few colour changes a line.
inline std::string game_output(int lines)
{
    static const char *const words[] = {"the", "orc", "swings", "at", "you", "and", "misses",
                                        "a", "torch", "flickers", "north", "gold"};
    static const char *const colours[] = {"\x1b[0m", "\x1b[1m\x1b[31m", "\x1b[32m",
                                          "\x1b[1m\x1b[33m", "\x1b[36m", "\x1b[0m\x1b[37m"};
    std::string text;
    unsigned state = 12345;
    for (int line = 0; line < lines; ++line) {
        int column = 0;
        while (column < 76) {
            state = state * 1103515245u + 12345u;
            if (state % 5 == 0)
                text += colours[(state >> 8) % 6];
            std::string word = words[(state >> 16) % 12];
            text += word + ' ';
            column += static_cast<int>(word.size()) + 1;
        }
        text += "\r\n";
    }
    return text;
}

// Hands the text on in reads of READ_SIZE bytes: read(data, length).
template <class Read>
void feed_in_reads(const std::string &text, Read read)
{
    for (size_t at = 0; at < text.size(); at += READ_SIZE)
        read(text.data() + at, int(std::min<size_t>(READ_SIZE, text.size() - at)));
}

#endif
