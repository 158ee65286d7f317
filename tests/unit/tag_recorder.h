#ifndef VUSK_TEST_TAG_RECORDER_H
#define VUSK_TEST_TAG_RECORDER_H

// Recording fake of every owner of tags: every call becomes one line of text
// in a log the tests compare.

#include "stream_recorder.h"
#include "tag_dispatch.h"

#include <string>
#include <vector>

class recording_tag_owners : public frame_tag_owner,
                             public client_id_owner,
                             public status_tag_owner,
                             public status_bar_tag_owner,
                             public group_tag_owner,
                             public automap_tag_owner,
                             public direction_pad_tag_owner,
                             public hint_button_tag_owner,
                             public popup_tag_owner,
                             public channel_tag_owner,
                             public sound_tag_owner {
public:
    std::vector<std::string> log;

    // Registers every owner, the function-key row as a row of its own.
    void attach(vusk_tag_dispatcher &dispatcher)
    {
        tag_owners &owners = dispatcher.owners;
        owners.frame = this;
        owners.client_id = this;
        owners.status_display = this;
        owners.status_bar = this;
        owners.group_display = this;
        owners.automap = this;
        owners.direction_pad = this;
        owners.hint_buttons = this;
        owners.fkey_row = &fkey_row;
        owners.popups = this;
        owners.channels = this;
        owners.sound = this;
    }

    void login(const char *name) override { add("login", name); }
    void color_flash(const char *arguments) override { add("colorflash", arguments); }
    void ping_reply() override { log.push_back("pong"); }
    void tq_divert(const char *name) override { add("divert", name); }
    void tq_append(const char *name) override { add("append", name); }
    void tq_undivert() override { log.push_back("undivert"); }
    void tq_unappend() override { log.push_back("unappend"); }
    void config_cmd_process(const char *command) override { add("config", command); }
    void vote_menu_entry(const char *number, const char *data) override
    {
        log.push_back("vote:" + checked_text(number) + "|" + checked_text(data));
    }

    void set_client_id(const char *id) override { add("uuid", id); }

    void display_hp(const hp_values &hp) override
    {
        ASSERT_GE(hp.count, 0);
        ASSERT_LE(hp.count, hp_value_count);
        log.push_back("hp:" + join(hp.value, hp.count));
    }
    void display_enemy_hp(const enemy_hp &enemy) override
    {
        log.push_back("enemyhp:" + std::to_string(enemy.percent) + "|" +
                      (enemy.name ? enemy.name : "<none>"));
    }
    void clear_enemy_hp() override { log.push_back("noenemy"); }
    void display_xp_percentages(const xp_percentages &xp) override
    {
        log.push_back("xpp:" + join(xp.percent, xp_percentage_count));
    }

    void update_sky_display(const char *data) override { add("skystate", data); }
    void update_icon_display(const char *flags) override { add("icons", flags); }
    bool update(const char *data) override
    {
        add("group", data);
        return false;
    }

    void map_message(const char *data, int length) override { add_sized("map", data, length); }
    void walk_fail(const char *data, int length) override { add_sized("walkfail", data, length); }
    void set_exit_mask(int exit_mask) override { log.push_back("exits:" + std::to_string(exit_mask)); }
    void set_area_name(const char *name) override { add("areaname", name); }
    void set_combat_mode(const char *data) override { add("combat", data); }
    void clear_combat_mode(const char *data) override { add("ncombat", data); }

    void enable() override { log.push_back("pad:on"); }
    void disable() override { log.push_back("pad:off"); }
    void enable(int exit_mask) override { log.push_back("pad:" + std::to_string(exit_mask)); }

    void clear() override { log.push_back("bclear"); }
    void setup_button(int number, const char *tag, const char *data) override
    {
        log.push_back(button_line("hint", number, tag, data));
    }

    void create_window(const char *definition) override { add("window_create", definition); }
    void set_divert_channel(const char *name) override { add("chdiv", name); }
    void clear_divert_channel() override { log.push_back("chudiv"); }
    void parse_audio_tag(const char *request) override { add("sound", request); }

    static std::string button_line(const char *row, int number, const char *tag, const char *data)
    {
        return std::string(row) + ":" + std::to_string(number) + "|" + checked_text(tag) + "|" +
               checked_text(data);
    }

private:
    struct fkey_recorder : button_row_tag_owner {
        explicit fkey_recorder(std::vector<std::string> &log) : log(log) {}
        void setup_button(int number, const char *tag, const char *data) override
        {
            log.push_back(button_line("fkey", number, tag, data));
        }
        std::vector<std::string> &log;
    };
    fkey_recorder fkey_row{log};

    void add(const char *what, const char *text) { log.push_back(std::string(what) + ":" + checked_text(text)); }
    void add_sized(const char *what, const char *data, int length)
    {
        log.push_back(std::string(what) + ":" + terminated_text(data, length));
    }
    static std::string join(const int *values, int count)
    {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += (i ? " " : "") + std::to_string(values[i]);
        return out;
    }
};

#endif
