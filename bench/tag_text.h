#ifndef VUSK_BENCH_TAG_TEXT_H
#define VUSK_BENCH_TAG_TEXT_H

// Tagged messages as the server frames them in its text.

#include <string>

inline std::string with_data(const std::string &tag, const std::string &data)
{
    return ";s" + tag + ";" + data + ";e" + tag + ";";
}

inline std::string without_data(const std::string &tag)
{
    return ";t" + tag + ";";
}

#endif
