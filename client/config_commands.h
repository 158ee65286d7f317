#ifndef VUSK_CONFIG_COMMANDS_H
#define VUSK_CONFIG_COMMANDS_H

// The server's "config" tag: a command word naming a panel and an argument,
// "enable", "disable" or "flash", with which the game switches the player's
// panels and makes one flash for a newcomer's tour. Switches go through the
// configuration's setters, so they are saved and reported like a menu change;
// the rest reaches the panels through the target (the main frame).

class config_command_target {
public:
    virtual bool automap_enabled() const = 0;
    virtual void set_automap_display_enable(int enable) = 0;
    virtual void flash_automap() = 0;
    virtual void flash_hint_buttons() = 0;
    virtual void flash_status_display() = 0;
    virtual void flash_popup_buttons() = 0;
    virtual void flash_main_display() = 0;
    virtual void flash_input_window() = 0;

protected:
    ~config_command_target() = default;
};

// Unknown words, a missing argument and null or empty data do nothing.
void config_cmd_process(const char *data, config_command_target &target);

#endif
