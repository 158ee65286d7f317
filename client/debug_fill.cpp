#include "debug_fill.h"

#include "nrandom.h"

namespace {
constexpr int most_words = 50;
constexpr int most_letters = 10;
constexpr int channel_range = 255;

vusk_color random_color()
{
    int r = xrand(channel_range);
    int g = xrand(channel_range);
    int b = xrand(channel_range);
    return vusk_color(r, g, b);
}
}

std::string debug_fill_word(int length)
{
    std::string word;
    for (int letter = length; letter >= 1; --letter)
        word += static_cast<char>('a' + letter);
    return word;
}

long long write_debug_fill(debug_fill_target &target, int lines)
{
    long long characters = 0;
    for (int line = 0; line < lines; ++line) {
        int words = xrand(most_words);
        for (int i = 0; i < words; ++i) {
            std::string word = debug_fill_word(xrand(most_letters) + 1) + " ";
            vusk_color text = random_color();
            target.debug_fill_color(text, random_color());
            target.debug_fill_append(word.c_str());
            characters += static_cast<long long>(word.size());
        }
        target.debug_fill_append("\n");
    }
    return characters;
}
