#include "fresh_state.h"

#include "ansi_palette.h"
#include "command_line.h"
#include "global_fonts.h"
#include "nrandom.h"
#include "socket.h"
#include "temp_home.h"
#include "tick_counters.h"
#include "tqconfig.h"
#include "tqconfig_files.h"
#include "url_opener.h"
#include "vusk_font.h"
#include "vusk_theme.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>

namespace {

// The process-wide values a test may change, as they stood at start-up.
struct program_globals {
    char client_id[client_id_capacity];
    std::string loaded_config_name;
    int uuid_create_time;
    int last_voting_time;
    int last_voting_reminder_time;
    int voting_reminder_enable;
    std::string config_directory_path;
    std::array<voting_url, voting_url_count> voting_urls;

    const char *connect_address;
    int connect_port;
    const char *web_host_name;
    int web_host_port;

    int font_size;
    vusk_font *font;
    vusk_font *button_small_font;
    vusk_font *button_large_font;

    const int *ansi_palette;
    const vusk_color *button_theme;
    const vusk_color *background_theme;
    NRandom system_random;
    NRandom background_random;

    int shutdown_flag;
    char delayed_url[delayed_url_capacity];
    int delayed_url_available;

    static program_globals now();
    void restore() const;
};

program_globals program_globals::now()
{
    program_globals g;
    std::memcpy(g.client_id, global_uuid, sizeof g.client_id);
    g.loaded_config_name = ::loaded_config_name;
    g.uuid_create_time = global_uuid_create_time;
    g.last_voting_time = global_last_voting_time;
    g.last_voting_reminder_time = global_last_voting_reminder_time;
    g.voting_reminder_enable = global_voting_reminder_enable;
    g.config_directory_path = global_config_directory_path;
    g.voting_urls = ::voting_urls;
    g.connect_address = ::connect_address;
    g.connect_port = ::connect_port;
    g.web_host_name = ::web_host_name;
    g.web_host_port = ::web_host_port;
    g.font_size = global_font_size;
    g.font = global_font;
    g.button_small_font = global_button_small_font;
    g.button_large_font = global_button_large_font;
    g.ansi_palette = ::ansi_palette;
    g.button_theme = current_button_theme;
    g.background_theme = current_background_theme;
    g.system_random = system_random_generator;
    g.background_random = background_prng;
    g.shutdown_flag = global_shutdown_flag;
    std::memcpy(g.delayed_url, delayed_url_buffer, sizeof g.delayed_url);
    g.delayed_url_available = ::delayed_url_available;
    return g;
}

void program_globals::restore() const
{
    std::memcpy(global_uuid, client_id, sizeof client_id);
    ::loaded_config_name = loaded_config_name;
    global_uuid_create_time = uuid_create_time;
    global_last_voting_time = last_voting_time;
    global_last_voting_reminder_time = last_voting_reminder_time;
    global_voting_reminder_enable = voting_reminder_enable;
    global_config_directory_path = config_directory_path;
    ::voting_urls = voting_urls;
    ::connect_address = connect_address;
    ::connect_port = connect_port;
    ::web_host_name = web_host_name;
    ::web_host_port = web_host_port;
    global_font_size = font_size;
    global_font = font;
    global_button_small_font = button_small_font;
    global_button_large_font = button_large_font;
    ::ansi_palette = ansi_palette;
    current_button_theme = button_theme;
    current_background_theme = background_theme;
    system_random_generator = system_random;
    background_prng = background_random;
    global_shutdown_flag = shutdown_flag;
    std::memcpy(delayed_url_buffer, delayed_url, sizeof delayed_url);
    ::delayed_url_available = delayed_url_available;
}

// Shared fonts that a test had created (the client's start-up makes them)
// go with the test.
void delete_fonts_made_since(const program_globals &start)
{
    for (vusk_font *const *made : {&global_font, &global_button_small_font, &global_button_large_font}) {
        const bool from_start = *made == start.font || *made == start.button_small_font ||
                                *made == start.button_large_font;
        if (!from_start)
            delete *made;
    }
}

// The configuration lives as long as the process; each test gets it as the
// program first finds it.
void renew_configuration()
{
    TConfig *config = TConfig::Instance();
    config->~TConfig();
    new (config) TConfig;
}

class fresh_state_listener : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo &) override
    {
        home_ = std::make_unique<TempHome>();
        start_.restore();
        renew_configuration();
        socket_clear_all_queues();
    }

    void OnTestEnd(const testing::TestInfo &) override
    {
        delete_fonts_made_since(start_);
        start_.restore();
        home_.reset();
    }

private:
    const program_globals start_ = program_globals::now();
    std::unique_ptr<TempHome> home_;
};

} // namespace

void install_fresh_state()
{
    testing::UnitTest::GetInstance()->listeners().Append(new fresh_state_listener);
}
