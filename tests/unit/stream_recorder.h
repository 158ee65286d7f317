#ifndef VUSK_TEST_STREAM_RECORDER_H
#define VUSK_TEST_STREAM_RECORDER_H

// Recording fake of what the stream parser calls: every call becomes one line
// of text in a log the tests compare.

#include "stream_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

// Checks that a string handed on by length is also terminated there.
inline std::string terminated_text(const char *text, int length)
{
    EXPECT_NE(text, nullptr);
    if (!text)
        return "<null>";
    EXPECT_GE(length, 0);
    EXPECT_EQ(text[length], '\0') << "not terminated at its length";
    return std::string(text, static_cast<size_t>(length));
}

inline std::string checked_text(const char *text)
{
    EXPECT_NE(text, nullptr);
    return text ? std::string(text) : "<null>";
}

class recording_stream_sink : public vusk_stream_sink, public vusk_tag_sink {
public:
    std::vector<std::string> log;
    int chunks_started = 0;
    int chunks_finished = 0;

    void clear_all_displays_changed_flag() override { ++chunks_started; }
    void update_all_displays_changed_flag() override { ++chunks_finished; }

    void display_socket_data(const char *text, int length) override
    {
        EXPECT_GE(length, 1);
        EXPECT_LE(length, vusk_stream_parser::text_run_length);
        log.push_back("text:" + terminated_text(text, length));
    }

    void process_tagged_data(const char *tag, const char *data, int length) override
    {
        EXPECT_LE(std::strlen(tag), static_cast<size_t>(vusk_stream_parser::tag_name_max_length));
        EXPECT_LE(length, vusk_stream_parser::tag_data_max_length);
        log.push_back("tag:" + checked_text(tag) + "|" + terminated_text(data, length));
    }

    void enable_local_echo() override { log.push_back("echo:on"); }
    void disable_local_echo() override { log.push_back("echo:off"); }
    void ring_bell() override { log.push_back("bell"); }

    // The log with neighbouring text runs joined, so that streams cut into
    // different chunks can be compared. The bell rings before the text that
    // preceded it in its run is handed on, so bells are left out (count them
    // with bells()).
    std::vector<std::string> merged() const
    {
        std::vector<std::string> out;
        for (const std::string &entry : log) {
            if (entry == "bell")
                continue;
            if (entry.rfind("text:", 0) == 0 && !out.empty() && out.back().rfind("text:", 0) == 0)
                out.back() += entry.substr(5);
            else
                out.push_back(entry);
        }
        return out;
    }

    long bells() const { return std::count(log.begin(), log.end(), "bell"); }

    std::string shown_text() const
    {
        std::string text;
        for (const std::string &entry : log)
            if (entry.rfind("text:", 0) == 0)
                text += entry.substr(5);
        return text;
    }
};

#endif
