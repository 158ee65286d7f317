// Linked into a suite, this makes every test start from the state the
// program starts in, whatever ran before it in the same process: a fresh
// HOME, an empty configuration, and the process-wide settings, shared fonts,
// theme tables and random generators as they stood before the first test.
// One process can then run the suite's tests in any order.
#include "ansi_palette.h"
#include "audio_driver_pa.h"
#include "command_line.h"
#include "global_fonts.h"
#include "main.h"
#include "nrandom.h"
#include "settings_files.h"
#include "socket.h"
#include "temp_home.h"
#include "tick_counters.h"
#include "tqconfig.h"
#include "tqconfig_files.h"
#include "url_opener.h"
#include "vusk_audio_base.h"
#include "vusk_automap.h"
#include "vusk_automap_outer.h"
#include "vusk_download.h"
#include "vusk_font.h"
#include "vusk_soundpack.h"
#include "vusk_theme.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <new>
#include <vector>

namespace {

// One process-wide variable and the value it held when this was made.
class saved_global {
public:
    template <typename T>
    explicit saved_global(T &variable) : restore_([&variable, value = variable] { variable = value; })
    {
    }

    template <typename T, std::size_t N>
    explicit saved_global(T (&array)[N]) : restore_([&array, value = to_array(array)] {
        std::copy(value.begin(), value.end(), array);
    })
    {
    }

    void restore() const { restore_(); }

private:
    template <typename T, std::size_t N>
    static std::array<T, N> to_array(const T (&array)[N])
    {
        std::array<T, N> copy;
        std::copy(array, array + N, copy.begin());
        return copy;
    }

    std::function<void()> restore_;
};

// The process-wide values a test may change.
std::vector<saved_global> save_program_globals()
{
    return {
        saved_global(global_uuid),
        saved_global(loaded_config_name),
        saved_global(global_uuid_create_time),
        saved_global(global_last_voting_time),
        saved_global(global_last_voting_reminder_time),
        saved_global(global_voting_reminder_enable),
        saved_global(global_config_directory_path),
        saved_global(voting_urls),
        saved_global(connect_address),
        saved_global(connect_port),
        saved_global(web_host_name),
        saved_global(web_host_port),
        saved_global(global_font_size),
        saved_global(global_font),
        saved_global(global_button_small_font),
        saved_global(global_button_large_font),
        saved_global(ansi_palette),
        saved_global(current_button_theme),
        saved_global(current_background_theme),
        saved_global(system_random_generator),
        saved_global(background_prng),
        saved_global(global_shutdown_flag),
        saved_global(delayed_url_buffer),
        saved_global(delayed_url_available),
        saved_global(global_socket_fd),
        saved_global(connect_timeout_ms),
        saved_global(global_display_xsize),
        saved_global(global_display_ysize),
    };
}

// What a test must put back itself, because it owns what they point at: the
// windows it built and the sound output it started. Left over, they would
// reach into the next test, so the test that left them fails.
void expect_nothing_left_running()
{
    EXPECT_EQ(main_window, nullptr) << "a main frame is still registered";
    EXPECT_FALSE(mw_constructor_finished) << "the main frame still counts as built";
    EXPECT_EQ(global_automap_frame, nullptr) << "the automap frame still exists";
    EXPECT_EQ(global_automap_display, nullptr) << "the automap panel still exists";
    EXPECT_EQ(audio_stream, nullptr) << "sound output is still open";
    EXPECT_EQ(vusk_audio_object::global_audio_enabled.load(), 0) << "sound output still counts as started";
}

using shared_fonts = std::array<vusk_font *, 3>;

shared_fonts current_shared_fonts()
{
    return {global_font, global_button_small_font, global_button_large_font};
}

// Shared fonts that a test had created (the client's start-up makes them)
// go with the test.
void delete_fonts_made_since(const shared_fonts &start)
{
    for (vusk_font *font : current_shared_fonts())
        if (std::find(start.begin(), start.end(), font) == start.end())
            delete font;
}

// The configuration lives as long as the process; each test gets it as the
// program first finds it.
void renew_configuration()
{
    TConfig *config = TConfig::Instance();
    config->~TConfig();
    new (config) TConfig;
}

// The sound pack and its download service are made for the configuration
// directory of the test that first used them, and end with it.
void end_sound_pack()
{
    if (vusk_download::instance)
        vusk_download::instance->stop();
    delete vusk_soundpack::instance;
    vusk_soundpack::instance = nullptr;
    delete vusk_download::instance;
    vusk_download::instance = nullptr;
}

// The settings writer's thread ends with the test that started it, every
// write it was given done and forgotten.
void end_background_saves()
{
    stop_background_saves();
    take_up_background_saves();
}

class fresh_state_listener : public testing::EmptyTestEventListener {
public:
    // After the entry point has set up the process (a toolkit started, say).
    void OnTestProgramStart(const testing::UnitTest &) override
    {
        start_globals_ = save_program_globals();
        start_fonts_ = current_shared_fonts();
    }

    void OnTestStart(const testing::TestInfo &) override
    {
        home_ = std::make_unique<TempHome>();
        restore_globals();
        renew_configuration();
        socket_clear_all_queues();
    }

    void OnTestEnd(const testing::TestInfo &) override
    {
        expect_nothing_left_running();
        // With the output closed, the sounds a test left queued are only freed.
        vusk_audio_object::clear_queues();
        end_sound_pack();
        end_background_saves();
        delete_fonts_made_since(start_fonts_);
        restore_globals();
        home_.reset();
    }

private:
    void restore_globals() const
    {
        for (const saved_global &global : start_globals_)
            global.restore();
    }

    std::vector<saved_global> start_globals_;
    shared_fonts start_fonts_{};
    std::unique_ptr<TempHome> home_;
};

// Registered before the entry point runs; the test framework owns the
// listener.
struct fresh_state_registration {
    fresh_state_registration() { testing::UnitTest::GetInstance()->listeners().Append(new fresh_state_listener); }
} registration;

} // namespace
