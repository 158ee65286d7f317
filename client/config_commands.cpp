#include "config_commands.h"

#include "tqconfig.h"
#include "util.h"

namespace {

enum class config_argument { none, enable, disable, flash };

config_argument read_argument(const char *text)
{
    if (text == nullptr)
        return config_argument::none;
    if (wordcmp(text, "enable"))
        return config_argument::enable;
    if (wordcmp(text, "disable"))
        return config_argument::disable;
    if (wordcmp(text, "flash"))
        return config_argument::flash;
    return config_argument::none;
}

// A panel switched by a setting: enable and disable set it, flash (where the
// panel can flash) switches it on first.
void switch_setting(config_argument argument, void (TConfig::*set)(int), void (config_command_target::*flash)(),
                    config_command_target &target)
{
    TConfig &config = *TConfig::Instance();
    switch (argument) {
    case config_argument::enable: (config.*set)(1); break;
    case config_argument::disable: (config.*set)(0); break;
    case config_argument::flash:
        if (flash != nullptr) {
            (config.*set)(1);
            (target.*flash)();
        }
        break;
    case config_argument::none: break;
    }
}

// The word column of the settings table: the settings the server switches.
struct setting_command {
    const char *word; // null: the server does not switch this setting
    void (config_command_target::*flash)();
    void (TConfig::*set)(int);
};

#define CONFIG_WORD(word) word, nullptr
#define CONFIG_WORD_FLASH(word, flash) word, &config_command_target::flash
#define NO_CONFIG_WORD nullptr, nullptr
#define VUSK_SETTING_COMMAND(Accessor, member, default_value, sanity, setter, effect, reset, status, menu, word, \
                             shortcut)                                                                          \
    {word, &TConfig::Set##Accessor},
const setting_command setting_commands[] = {
    VUSK_SETTINGS(VUSK_NO_ROW, VUSK_NO_ROW, VUSK_NO_ROW, VUSK_SETTING_COMMAND, VUSK_NO_ROW)};
#undef VUSK_SETTING_COMMAND
#undef NO_CONFIG_WORD
#undef CONFIG_WORD_FLASH
#undef CONFIG_WORD

void automap(config_argument argument, config_command_target &target)
{
    const bool on = target.automap_enabled();
    if (argument == config_argument::enable && !on)
        target.set_automap_display_enable(1);
    else if (argument == config_argument::disable && on)
        target.set_automap_display_enable(0);
    else if (argument == config_argument::flash) {
        if (!on)
            target.set_automap_display_enable(1);
        target.flash_automap();
    }
}

// Displays that are always there only flash.
void flash_only(config_argument argument, void (config_command_target::*flash)(), config_command_target &target)
{
    if (argument == config_argument::flash)
        (target.*flash)();
}

// The commands that are no setting's.
struct panel_command {
    const char *word;
    void (*run)(config_argument argument, config_command_target &target);
};

const panel_command panel_commands[] = {
    {"automap", automap},
    {"main_window", [](config_argument a, config_command_target &t) {
         flash_only(a, &config_command_target::flash_main_display, t);
     }},
    {"input_window", [](config_argument a, config_command_target &t) {
         flash_only(a, &config_command_target::flash_input_window, t);
     }},
};

} // namespace

void config_cmd_process(const char *data, config_command_target &target)
{
    if (data == nullptr || *data == '\0')
        return;
    const config_argument argument = read_argument(next_arg(data));
    for (const panel_command &command : panel_commands) {
        if (wordcmp(data, command.word)) {
            command.run(argument, target);
            return;
        }
    }
    for (const setting_command &command : setting_commands) {
        if (command.word != nullptr && wordcmp(data, command.word)) {
            switch_setting(argument, command.set, command.flash, target);
            return;
        }
    }
}
