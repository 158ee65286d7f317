// The whole incoming path without a window: bytes from the server through the
// stream parser into the tag dispatcher, cut into chunks in every way.
#include "stream_parser.h"
#include "stream_recorder.h"
#include "tag_dispatch.h"
#include "tag_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string IAC = "\xff";

// What one stream produced: the parser's calls and the dispatcher's effects.
struct path_result {
    std::vector<std::string> stream;
    std::vector<std::string> effects;
    std::string shown;
    long bells = 0;

    bool operator==(const path_result &other) const
    {
        return stream == other.stream && effects == other.effects && bells == other.bells;
    }
};

void PrintTo(const path_result &result, std::ostream *out)
{
    *out << "\n  stream:";
    for (const std::string &line : result.stream)
        *out << "\n    " << testing::PrintToString(line);
    *out << "\n  bells: " << result.bells << "\n  effects:";
    for (const std::string &line : result.effects)
        *out << "\n    " << testing::PrintToString(line);
}

// Logs each tag like the plain recorder, then hands it to the dispatcher.
class dispatching_sink : public recording_stream_sink {
public:
    explicit dispatching_sink(vusk_tag_dispatcher &dispatcher) : dispatcher_(dispatcher) {}

    void process_tagged_data(const char *tag, const char *data, int length) override
    {
        recording_stream_sink::process_tagged_data(tag, data, length);
        dispatcher_.process_tagged_data(tag, data, length);
    }

private:
    vusk_tag_dispatcher &dispatcher_;
};

// Feeds bytes cut at the given offsets (ascending, inside the stream).
path_result run_path(const std::string &bytes, const std::vector<size_t> &cuts)
{
    recording_tag_owners owners;
    vusk_tag_dispatcher dispatcher;
    owners.attach(dispatcher);
    dispatching_sink sink(dispatcher);
    auto parser = std::make_unique<vusk_stream_parser>(sink, sink);
    parser->reset();

    size_t start = 0;
    auto feed_to = [&](size_t end) {
        parser->process_socket_data(bytes.data() + start, static_cast<int>(end - start));
        start = end;
    };
    for (size_t cut : cuts)
        feed_to(cut);
    feed_to(bytes.size());
    EXPECT_GE(parser->tag_index, 0);
    EXPECT_LE(parser->tag_index, vusk_stream_parser::tag_data_max_length);
    EXPECT_EQ(sink.chunks_started, static_cast<int>(cuts.size()) + 1);
    EXPECT_EQ(sink.chunks_finished, sink.chunks_started);
    return {sink.merged(), owners.log, sink.shown_text(), sink.bells()};
}

path_result run_whole(const std::string &bytes)
{
    return run_path(bytes, {});
}

// A session touching every form the parser knows.
std::string sample_session()
{
    return "\x1b[1;32mWelcome\x1b[0m to the Vale;; a place;x of rest.\r\n"
           "Login: " + IAC + "\xfb\x01" + IAC + "\xfe\x01" + "secret" + IAC + "\xfd\x01" +
           ";slogin;Arwen\r\n;elogin;"
           ";shp;100 120 50 60 80 90;ehp;"
           "You see a ;tbclear;bell\a here." + IAC + IAC + "ok" + IAC + "\xf1" +
           ";sdirs;on NE;edirs;"
           ";schdiv;gossip;echdiv;Bob gossips: hi;tchudiv;"
           ";sevent;tqpong;eevent;"
           ";sb3;Look\nlook;eb3;;sbf2;Kick\nkick;ebf2;"
           ";s" + std::string(70, 'N') + ";data;eN;"
           ";smap;row\r\nrow;emap;;sxpp;500 250;t" + std::string(63, 'T') + ";"
           "everything after;ehidden; is shown;";
}

TEST(StreamPath, SampleSessionIsUnderstood)
{
    path_result result = run_whole(sample_session());
    EXPECT_EQ(result.effects,
              (std::vector<std::string>{"login:Arwen", "hp:100 120 50 60 80 90", "bclear",
                                        "pad:on", "pad:420", "exits:420", "chdiv:gossip", "chudiv", "pong",
                                        "hint:3|b3|Look\nlook", "fkey:2|bf2|Kick\nkick",
                                        "map:row\nrow", "xpp:500 250 0 0 0 0 0 0"}));
    EXPECT_EQ(result.bells, 1);
    EXPECT_EQ(result.shown,
              "\x1b[1;32mWelcome\x1b[0m to the Vale; a place;x of rest.\r\nLogin: \nsecret"
              "You see a bell here.okBob gossips: hiNNNNNN;dataeverything after is shown");
}

TEST(StreamPath, EverySingleCutGivesTheSameResult)
{
    const std::string bytes = sample_session();
    const path_result whole = run_whole(bytes);
    for (size_t cut = 1; cut < bytes.size(); ++cut)
        ASSERT_EQ(run_path(bytes, {cut}), whole) << "cut at " << cut;
}

TEST(StreamPath, ByteByByteGivesTheSameResult)
{
    const std::string bytes = sample_session() + std::string(6000, 'x') + ";;" + sample_session();
    std::vector<size_t> cuts;
    for (size_t cut = 1; cut < bytes.size(); ++cut)
        cuts.push_back(cut);
    EXPECT_EQ(run_path(bytes, cuts), run_whole(bytes));
}

// Random streams built from the parser's own forms, and mutated sessions.
class stream_generator {
public:
    explicit stream_generator(unsigned seed) : random_(seed) {}

    std::string random_stream()
    {
        std::string bytes;
        const int pieces = pick(1, 60);
        for (int i = 0; i < pieces; ++i)
            bytes += random_piece();
        return bytes;
    }

    std::string mutate(std::string bytes)
    {
        const int mutations = pick(1, 12);
        for (int i = 0; i < mutations && !bytes.empty(); ++i) {
            const size_t at = static_cast<size_t>(pick(0, static_cast<int>(bytes.size()) - 1));
            switch (pick(0, 4)) {
            case 0:
                bytes[at] = static_cast<char>(pick(0, 255));
                break;
            case 1:
                bytes.insert(at, 1, ";\xff\r;"[pick(0, 3)]);
                break;
            case 2:
                bytes.erase(at, static_cast<size_t>(pick(1, 20)));
                break;
            case 3:
                bytes.insert(at, bytes.substr(at, static_cast<size_t>(pick(1, 200))));
                break;
            default:
                bytes.resize(at);
                break;
            }
        }
        return bytes;
    }

    std::vector<size_t> random_cuts(size_t length)
    {
        std::vector<size_t> cuts;
        const int longest_step = static_cast<int>(std::min<size_t>(3000, length / 3 + 1));
        for (size_t at = 0; length > 1;) {
            at += static_cast<size_t>(pick(1, longest_step));
            if (at >= length)
                break;
            cuts.push_back(at);
        }
        return cuts;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::string random_bytes(int low, int high)
    {
        std::string bytes(static_cast<size_t>(pick(low, high)), '\0');
        for (char &c : bytes)
            c = static_cast<char>(pick(0, 255));
        return bytes;
    }

    std::string name()
    {
        static const char *const known[] = {
            "login", "map", "walkfail", "dirs", "areaname", "combat", "ncombat", "uuid",
            "enemyhp", "group", "xpp", "event", "hp", "sound", "bclear", "window_create",
            "append", "unappend", "chdiv", "chudiv", "divert", "undivert", "config",
            "skystate", "icons", "votemenu2", "b4", "bf5", "b0", "bf99999999999"};
        switch (pick(0, 3)) {
        case 0:
            return std::string(static_cast<size_t>(pick(60, 70)), 'n');
        case 1:
            return random_bytes(0, 8);
        default:
            return known[pick(0, static_cast<int>(std::size(known)) - 1)];
        }
    }

    std::string data()
    {
        switch (pick(0, 5)) {
        case 0:
            return std::string(static_cast<size_t>(pick(14990, 15010)), 'd');
        case 1:
            return "on " + std::string(1, static_cast<char>(pick(0, 255))) + "Z";
        case 2:
            return "99999999999999999999 -5 7\r\n 8";
        default:
            return random_bytes(0, 40);
        }
    }

    std::string random_piece()
    {
        switch (pick(0, 8)) {
        case 0:
            return ";t" + name() + ";";
        case 1:
            return ";s" + name() + ";" + data() + ";e" + name() + ";";
        case 2:
            return ";;";
        case 3:
            return IAC + std::string(1, static_cast<char>(pick(240, 255))) +
                   std::string(1, static_cast<char>(pick(0, 3)));
        case 4:
            return "\a";
        case 5:
            return std::string(static_cast<size_t>(pick(0, 3000)), 't');
        default:
            return random_bytes(1, 30);
        }
    }

    std::mt19937 random_;
};

// Runs streams from make_stream whole and cut at random, and shows that the
// streams reached the dispatcher's rows at all.
template <typename stream_maker>
void fuzz_stream_path(unsigned seed, int rounds, stream_maker make_stream)
{
    stream_generator generator(seed);
    size_t effects = 0;
    for (int round = 0; round < rounds && !testing::Test::HasFailure(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string bytes = make_stream(generator);
        const path_result whole = run_whole(bytes);
        // Only DONT ECHO adds a byte to the text, and it takes three.
        EXPECT_LE(whole.shown.size(), bytes.size());
        EXPECT_EQ(run_path(bytes, generator.random_cuts(bytes.size())), whole);
        effects += whole.effects.size();
    }
    EXPECT_GT(effects, static_cast<size_t>(rounds));
}

TEST(StreamPathFuzz, RandomStreams)
{
    fuzz_stream_path(20240611u, 1500, [](stream_generator &g) { return g.random_stream(); });
}

TEST(StreamPathFuzz, MutatedSessions)
{
    fuzz_stream_path(7331u, 4000, [](stream_generator &g) { return g.mutate(sample_session()); });
}

} // namespace
