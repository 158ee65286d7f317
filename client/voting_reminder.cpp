#include "voting_reminder.h"

namespace {
constexpr long long client_id_min_age = 10 * 24 * 3600;
constexpr long long min_time_logged_in = 5 * 60;
constexpr long long max_idle_time = 10 * 60;
constexpr long long reminder_spacing = 3600;
constexpr long long time_after_vote = 21 * 3600;
}

bool voting_reminder_due(const voting_reminder_clock &clock, long long now)
{
    return clock.logged_in && clock.reminders_enabled &&
           now - clock.client_id_created >= client_id_min_age &&
           now - clock.login_time >= min_time_logged_in &&
           now - clock.last_command_time <= max_idle_time &&
           now - clock.last_reminder_time >= reminder_spacing &&
           now - clock.last_voting_time >= time_after_vote;
}
