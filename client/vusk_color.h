#ifndef VUSK_COLOR_H
#define VUSK_COLOR_H

// A colour as three channels, each 0..255.
struct vusk_color {
    int r = 0;
    int g = 0;
    int b = 0;

    constexpr vusk_color() = default;
    constexpr vusk_color(int red, int green, int blue) : r(red), g(green), b(blue) {}

    constexpr bool operator==(const vusk_color &other) const
    {
        return r == other.r && g == other.g && b == other.b;
    }
    constexpr bool operator!=(const vusk_color &other) const { return !(*this == other); }
};

inline constexpr vusk_color vusk_RED{255, 0, 0};
inline constexpr vusk_color vusk_YELLOW{255, 255, 0};
inline constexpr vusk_color vusk_GREEN{0, 255, 0};
inline constexpr vusk_color vusk_CYAN{0, 255, 255};
inline constexpr vusk_color vusk_BLUE{0, 0, 255};
inline constexpr vusk_color vusk_PURPLE{255, 0, 255};
inline constexpr vusk_color vusk_BLACK{0, 0, 0};
inline constexpr vusk_color vusk_DARK_GREY{64, 64, 64};
inline constexpr vusk_color vusk_GREY{128, 128, 128};
inline constexpr vusk_color vusk_LIGHT_GREY{192, 192, 192};
inline constexpr vusk_color vusk_WHITE{255, 255, 255};

#endif
