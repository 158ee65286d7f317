#ifndef VUSK_TEST_TAG_RECORDER_H
#define VUSK_TEST_TAG_RECORDER_H

// Recording fake of the tag dispatcher's effects: every call becomes one line
// of text in a log the tests compare.

#include "stream_recorder.h"
#include "tag_dispatch.h"

#include <string>
#include <vector>

class recording_tag_effects : public vusk_tag_effects {
public:
    std::vector<std::string> log;
    bool color_flash_on = true;
    bool system_audio_on = true;

    bool color_flash_enabled() override { return color_flash_on; }
    bool system_audio_enabled() override { return system_audio_on; }

    void login(const char *name) override { add("login", name); }
    void map_message(const char *data, int length) override { add_sized("map", data, length); }
    void walk_fail(const char *data, int length) override { add_sized("walkfail", data, length); }
    void set_directions(dirs_switch pad, int exit_mask) override
    {
        static const char *const names[] = {"unchanged", "on", "off"};
        log.push_back(std::string("dirs:") + names[static_cast<int>(pad)] + "|" +
                      std::to_string(exit_mask));
    }
    void set_area_name(const char *name) override { add("areaname", name); }
    void set_combat_mode(const char *data) override { add("combat", data); }
    void clear_combat_mode(const char *data) override { add("ncombat", data); }
    void set_client_id(const char *id) override { add("uuid", id); }
    void display_enemy_hp(const enemy_hp &enemy) override
    {
        log.push_back("enemyhp:" + std::to_string(enemy.percent) + "|" +
                      (enemy.name ? enemy.name : "<none>"));
    }
    void clear_enemy_hp() override { log.push_back("noenemy"); }
    void display_group(const char *data) override { add("group", data); }
    void display_xp_percentages(const xp_percentages &xp) override
    {
        log.push_back("xpp:" + join(xp.percent, xp_percentage_count));
    }
    void color_flash(const char *arguments) override { add("colorflash", arguments); }
    void ping_reply() override { log.push_back("pong"); }
    void display_hp(const hp_values &hp) override
    {
        ASSERT_GE(hp.count, 0);
        ASSERT_LE(hp.count, hp_value_count);
        log.push_back("hp:" + join(hp.value, hp.count));
    }
    void play_sound(const char *request) override { add("sound", request); }
    void clear_hint_buttons() override { log.push_back("bclear"); }
    void create_popup_window(const char *definition) override { add("window_create", definition); }
    void tq_append(const char *name) override { add("append", name); }
    void tq_unappend() override { log.push_back("unappend"); }
    void set_divert_channel(const char *name) override { add("chdiv", name); }
    void clear_divert_channel() override { log.push_back("chudiv"); }
    void tq_divert(const char *name) override { add("divert", name); }
    void tq_undivert() override { log.push_back("undivert"); }
    void config_cmd_process(const char *command) override { add("config", command); }
    void update_sky_display(const char *data) override { add("skystate", data); }
    void update_icon_display(const char *flags) override { add("icons", flags); }
    void vote_menu_entry(const char *number, const char *data) override
    {
        log.push_back("vote:" + checked_text(number) + "|" + checked_text(data));
    }
    void setup_fkey_button(int number, const char *tag, const char *data) override
    {
        log.push_back("fkey:" + std::to_string(number) + "|" + checked_text(tag) + "|" +
                      checked_text(data));
    }
    void setup_hint_button(int number, const char *tag, const char *data) override
    {
        log.push_back("hint:" + std::to_string(number) + "|" + checked_text(tag) + "|" +
                      checked_text(data));
    }

private:
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
