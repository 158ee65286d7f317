// The server's "config" tag switching panels and starting their flashing.
#include "config_commands.h"
#include "tqconfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class recording_target : public config_command_target {
public:
    bool automap_on = false;
    std::vector<std::string> calls;

    bool automap_enabled() const override { return automap_on; }
    void set_automap_display_enable(int enable) override
    {
        automap_on = enable != 0;
        calls.push_back("automap " + std::to_string(enable));
    }
    void flash_automap() override { calls.push_back("flash automap"); }
    void flash_hint_buttons() override { calls.push_back("flash hints"); }
    void flash_status_display() override { calls.push_back("flash status"); }
    void flash_popup_buttons() override { calls.push_back("flash popups"); }
    void flash_main_display() override { calls.push_back("flash main"); }
    void flash_input_window() override { calls.push_back("flash input"); }
};

using calls_t = std::vector<std::string>;

class ConfigCommands : public testing::Test {
protected:
    ConfigCommands()
    {
        tqconfig record;
        record.name = "commands";
        config().add(record);
        config().select("commands");
    }

    static TConfig &config() { return *TConfig::Instance(); }

    calls_t run(const char *data)
    {
        target.calls.clear();
        config_cmd_process(data, target);
        return target.calls;
    }

    recording_target target;
};

TEST_F(ConfigCommands, AutomapSwitchesOnlyWhenItMustAndFlashesAfterSwitchingOn)
{
    EXPECT_EQ(run("automap flash"), (calls_t{"automap 1", "flash automap"}));
    EXPECT_EQ(run("automap flash"), calls_t{"flash automap"});
    EXPECT_EQ(run("automap enable"), calls_t{});
    EXPECT_EQ(run("automap disable"), calls_t{"automap 0"});
    EXPECT_EQ(run("automap disable"), calls_t{});
    EXPECT_EQ(run("AUTOMAP   Enable"), calls_t{"automap 1"});
}

TEST_F(ConfigCommands, SettingsAreSwitchedAndMarkedForTheServer)
{
    config().SetHpbarEnable(1);
    config().config_update_pending = 0;
    EXPECT_EQ(run("status_bar disable"), calls_t{});
    EXPECT_EQ(config().GetHpbarEnable(), 0);
    EXPECT_NE(config().GetStatusBar(), 0) << "the status bar itself stays";
    EXPECT_EQ(config().config_update_pending, 1);

    EXPECT_EQ(run("status_bar flash"), calls_t{"flash status"});
    EXPECT_EQ(config().GetHpbarEnable(), 1);

    run("hint_buttons disable");
    EXPECT_EQ(config().GetHintButton(), 0);
    EXPECT_EQ(run("hint_buttons flash"), calls_t{"flash hints"});
    EXPECT_EQ(config().GetHintButton(), 1);

    run("popup_buttons disable");
    EXPECT_EQ(run("popup_buttons flash"), calls_t{"flash popups"});
    EXPECT_EQ(config().GetPopupDisplay(), 1);

    for (const char *word : {"fkey_buttons", "direction_buttons", "exp_bar"}) {
        run((std::string(word) + " disable").c_str());
        EXPECT_EQ(run((std::string(word) + " flash").c_str()), calls_t{}) << word;
    }
    EXPECT_EQ(config().GetFkeyButton(), 0);
    EXPECT_EQ(config().GetDirectionButton(), 0);
    EXPECT_EQ(config().GetExpDisplay(), 0);
    run("exp_bar enable");
    EXPECT_EQ(config().GetExpDisplay(), 1);
}

TEST_F(ConfigCommands, DisplaysOnlyFlashAndAnythingElseIsIgnored)
{
    EXPECT_EQ(run("main_window enable"), calls_t{});
    EXPECT_EQ(run("main_window flash"), calls_t{"flash main"});
    EXPECT_EQ(run("input_window flash"), calls_t{"flash input"});
    config().config_update_pending = 0;
    for (const char *data : {"", "automap", "automap sideways", "automaps flash", "unknown enable",
                             "flash automap", " ", "hint_buttons enabled"})
        EXPECT_EQ(run(data), calls_t{}) << data;
    EXPECT_EQ(run(nullptr), calls_t{});
    EXPECT_EQ(config().config_update_pending, 0);
}

} // namespace
