#include "vote_menu.h"

#include "command_line.h"
#include "menu_ids.h"
#include "menu_label.h"
#include "tqconfig_files.h"
#include "util.h"

#include <wx/menu.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

struct default_vote {
    const char *label;
    const char *path;
};

// Pages of the game's own site that lead on to the listing sites.
const default_vote default_votes[] = {
    {"Vote at Listing Site 1", "/vote?site=1"},
    {"Vote at Listing Site 2", "/vote?site=2"},
    {"Vote at Listing Site 3", "/vote?site=3"},
};

bool is_web_url(const std::string &url)
{
    return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

// The entry number 1..8 of the tag as an index, or -1.
int entry_index(const char *number)
{
    const int value = read_int_clamped(number);
    return value >= 1 && value <= voting_url_count ? value - 1 : -1;
}

} // namespace

void setup_vote_menu(const char *number, const char *data)
{
    const int index = entry_index(number);
    if (index < 0 || data == nullptr)
        return;
    const char *newline = std::strchr(data, '\n');
    if (newline == nullptr || newline[1] == '\0')
        return;
    const std::string label(data, std::min<size_t>(size_t(newline - data), voting_text_max_length));
    const char *url_start = newline + 1;
    const std::string url(url_start, std::min(std::strcspn(url_start, "\n\t "), voting_text_max_length));
    if (!is_web_url(url))
        return;
    if (index == 0)
        voting_urls.fill(voting_url{});
    voting_urls[size_t(index)] = voting_url{label, url};
}

void use_default_voting_urls()
{
    if (voting_urls[0].label)
        return;
    size_t entry = 0;
    for (const default_vote &vote : default_votes)
        voting_urls[entry++] = voting_url{std::string(vote.label), web_page_url(vote.path)};
}

bool fill_voting_menu(wxMenu &menu)
{
    while (menu.GetMenuItemCount() > 0)
        menu.Destroy(menu.FindItemByPosition(0));
    use_default_voting_urls();
    menu.Append(id_menu_vote_all, wxS("Vote For All"));
    menu.AppendSeparator();
    int listed = 0;
    for (int entry = 0; entry < voting_url_count; ++entry) {
        const voting_url &vote = voting_urls[size_t(entry)];
        if (!vote.label)
            continue;
        menu.Append(id_menu_vote_first + entry, menu_label(*vote.label, vote.url.value_or("Vote").c_str()));
        ++listed;
    }
    if (listed == 0)
        return false;
    menu.AppendSeparator();
    menu.AppendCheckItem(id_menu_vote_reminder, wxS("Enable Voting Reminders"));
    menu.Check(id_menu_vote_reminder, global_voting_reminder_enable != 0);
    return true;
}

const char *voting_url_of(int index)
{
    if (index < 0 || index >= voting_url_count || !voting_urls[size_t(index)].url)
        return nullptr;
    return voting_urls[size_t(index)].url->c_str();
}
