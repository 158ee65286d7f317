#ifndef VUSK_URL_OPENER_H
#define VUSK_URL_OPENER_H

// Web pages open in the system browser through the desktop's opener. URLs
// may come from the game server: they are handed to the opener as one
// argument, never through a shell.

#include <string>

// A URL waits here for the next main tick, which opens it.
constexpr int delayed_url_capacity = 1024; // 1023 characters and the terminator
extern char delayed_url_buffer[delayed_url_capacity];
extern int delayed_url_available;

// Queues the URL, cut to 1023 characters; a later one replaces it.
void queue_delayed_url(const char *url);

// Takes the queued URL, if any, and clears the queue.
bool take_delayed_url(std::string &url);

// The program that opens a URL in the desktop's browser.
constexpr const char *url_opener_program = "xdg-open";

// The first executable regular file of that name in the directories of PATH,
// or empty when there is none.
std::string find_program_in_path(const char *name);

// Starts the opener on the URL without waiting for it; true when it started.
// An empty URL or one that the opener would take for an option is refused.
bool start_url_opener(const char *url);

#endif
