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

struct config_command {
    const char *word;
    void (*run)(config_argument argument, config_command_target &target);
};

const config_command commands[] = {
    {"automap", automap},
    {"hint_buttons", [](config_argument a, config_command_target &t) {
         switch_setting(a, &TConfig::SetHintButton, &config_command_target::flash_hint_buttons, t);
     }},
    {"fkey_buttons", [](config_argument a, config_command_target &t) {
         switch_setting(a, &TConfig::SetFkeyButton, nullptr, t);
     }},
    {"status_bar", [](config_argument a, config_command_target &t) {
         switch_setting(a, &TConfig::SetHpbarEnable, &config_command_target::flash_status_display, t);
     }},
    {"popup_buttons", [](config_argument a, config_command_target &t) {
         switch_setting(a, &TConfig::SetPopupDisplay, &config_command_target::flash_popup_buttons, t);
     }},
    {"main_window", [](config_argument a, config_command_target &t) {
         flash_only(a, &config_command_target::flash_main_display, t);
     }},
    {"input_window", [](config_argument a, config_command_target &t) {
         flash_only(a, &config_command_target::flash_input_window, t);
     }},
    {"direction_buttons", [](config_argument a, config_command_target &t) {
         switch_setting(a, &TConfig::SetDirectionButton, nullptr, t);
     }},
    {"exp_bar", [](config_argument a, config_command_target &t) {
         switch_setting(a, &TConfig::SetExpDisplay, nullptr, t);
     }},
};

} // namespace

void config_cmd_process(const char *data, config_command_target &target)
{
    if (data == nullptr || *data == '\0')
        return;
    for (const config_command &command : commands) {
        if (wordcmp(data, command.word)) {
            command.run(read_argument(next_arg(data)), target);
            return;
        }
    }
}
