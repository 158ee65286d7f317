#include "command_history.h"

#include "text_bytes.h"

#include <cstdio>

namespace {
constexpr int listed_commands = 19;
}

std::string line_for_sending(const wxString &typed)
{
    std::string bytes = wx_to_bytes(typed);
    if (bytes.size() > static_cast<size_t>(command_line_limit))
        bytes.resize(command_line_limit);
    return bytes;
}

command_history::command_history()
{
    sets_[0].commands.push_back(wxS("connect"));
}

bool command_history::slot_exists(int slot) const
{
    if (slot < empty_slot)
        return false;
    if (slot < first_command_slot)
        return true;
    return static_cast<size_t>(slot - first_command_slot) < sets_[current_].commands.size();
}

wxString command_history::slot_text(int slot) const
{
    if (slot == scratch_slot)
        return sets_[current_].scratch;
    if (slot >= first_command_slot && slot_exists(slot))
        return sets_[current_].commands[slot - first_command_slot];
    return wxString();
}

void command_history::history_store(const wxString &line)
{
    history_set &set = sets_[current_];
    if (set.commands.empty() || set.commands.front() != line) {
        set.commands.insert(set.commands.begin(), line);
        if (set.commands.size() > static_cast<size_t>(most_commands))
            set.commands.pop_back();
    }
    position_ = scratch_slot;
    set.scratch.clear();
}

bool command_history::history_up(const wxString &typed, wxString *shown)
{
    if (!slot_exists(position_) || !slot_exists(position_ + 1))
        return false;
    if (position_ == scratch_slot)
        sets_[current_].scratch = typed;
    ++position_;
    *shown = slot_text(position_);
    return true;
}

bool command_history::history_down(const wxString &typed, wxString *shown)
{
    if (position_ < scratch_slot) {
        shown->clear();
        return true;
    }
    if (!slot_exists(position_))
        return false;
    if (position_ == scratch_slot)
        sets_[current_].scratch = typed;
    --position_;
    *shown = slot_text(position_);
    return true;
}

void command_history::swap_history(int set)
{
    if (set == current_ || set < 0 || set >= set_count)
        return;
    sets_[current_].saved_position = position_;
    current_ = set;
    position_ = sets_[current_].saved_position;
}

wxString command_history::newest() const
{
    return slot_text(first_command_slot);
}

std::string command_history::listing() const
{
    std::string text = "\nRecent Command History:";
    for (int number = listed_commands; number >= 1; --number) {
        int slot = number + 1;
        if (!slot_exists(slot))
            continue;
        char label[16];
        snprintf(label, sizeof label, "\n%2d - ", number);
        text += label;
        text += wx_to_bytes(slot_text(slot));
    }
    text += "\n";
    return text;
}
