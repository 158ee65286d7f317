#ifndef VUSK_VOTING_REMINDER_H
#define VUSK_VOTING_REMINDER_H

// When the client reminds a logged-in player to vote for the game: at most
// once an hour, never within 21 hours of a vote, only for a client id older
// than ten days, and only to someone who has played for five minutes and
// typed something in the last ten. Times are wall-clock seconds.

struct voting_reminder_clock {
    bool logged_in = false;
    bool reminders_enabled = false;
    long long client_id_created = 0;
    long long login_time = 0;
    long long last_command_time = 0;
    long long last_reminder_time = 0;
    long long last_voting_time = 0;
};

bool voting_reminder_due(const voting_reminder_clock &clock, long long now);

#endif
