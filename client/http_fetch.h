#ifndef VUSK_HTTP_FETCH_H
#define VUSK_HTTP_FETCH_H

// One HTTP/1.0 GET into an open file, through libcurl. Redirects are not
// followed, and only a 200 answer whose whole body arrived (as long as its
// Content-Length, when the server sent one) counts as complete. Transfers
// run on one thread at a time; any thread may abandon them.

#include <atomic>
#include <cstdio>
#include <string>

typedef void CURLM;

struct fetch_limits {
    long connect_timeout_s = 10;
    // An attempt that moves less than one byte a second for this long ends.
    long stall_timeout_s = 30;
    long long max_bytes = 8 * 1024 * 1024;
};

enum class fetch_outcome {
    complete,
    // Any answer but 200, a body larger than allowed, or a failed write.
    failed,
    // The host was unreachable, or the connection broke or stalled: another
    // attempt later may succeed.
    retry_later,
    abandoned,
};

class http_fetcher {
public:
    http_fetcher();
    ~http_fetcher();
    http_fetcher(const http_fetcher &) = delete;
    http_fetcher &operator=(const http_fetcher &) = delete;

    // Writes the body of url into out, which must be open (nothing is
    // flushed or closed here).
    fetch_outcome fetch(const std::string &url, FILE *out, const fetch_limits &limits);
    // Any thread: the transfer in progress ends at once, and every later one
    // ends before it starts.
    void abandon();

private:
    CURLM *multi;
    std::atomic<bool> abandoned{false};
};

#endif
