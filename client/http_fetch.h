#ifndef VUSK_HTTP_FETCH_H
#define VUSK_HTTP_FETCH_H

// HTTP/1.0 GETs into open files through libcurl, several at once on the one
// thread that runs them. Redirects are not followed, and only a 200 answer
// whose whole body arrived (as long as its Content-Length, when the server
// sent one) counts as complete. Any thread may wake or abandon the runner.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

typedef void CURL;
typedef void CURLM;

// The largest sound-pack file fetched. A sound is used only when it decodes
// to less than 882,000 bytes, and an Ogg Vorbis file holds that in far less
// than its decoded size; the rest is room for its headers.
constexpr long long max_fetched_file_bytes = 1 << 20;
// The slowest average rate at which a whole file is still worth waiting for.
constexpr long long slowest_worthwhile_bytes_per_second = 64 << 10;
constexpr long default_connect_timeout_s = 10;

struct fetch_limits {
    long connect_timeout_s = default_connect_timeout_s;
    long long max_bytes = max_fetched_file_bytes;
    // The whole transfer, connecting included: the largest file at the
    // slowest worthwhile rate, so that a host that trickles or holds a
    // request open gives the transfer's place up.
    std::chrono::milliseconds total_timeout{
        std::chrono::seconds(default_connect_timeout_s + max_fetched_file_bytes / slowest_worthwhile_bytes_per_second)};
};

enum class fetch_outcome {
    complete,
    // Any answer but 200, a body larger than allowed, or a failed write.
    failed,
    // The host was unreachable, or the connection broke or ran out of time:
    // another attempt later may succeed.
    retry_later,
};

class http_fetcher {
public:
    // A transfer that ended, and the tag it was started with.
    struct ended {
        void *tag;
        fetch_outcome outcome;
    };

    http_fetcher();
    // Ends the transfers still running.
    ~http_fetcher();
    http_fetcher(const http_fetcher &) = delete;
    http_fetcher &operator=(const http_fetcher &) = delete;

    // Starts writing the body of url into out, which must stay open until
    // the transfer ends (nothing is flushed or closed here). False when no
    // transfer could be started.
    bool start(const std::string &url, FILE *out, const fetch_limits &limits, void *tag);
    // Runs the transfers until one ends, wake() is called or longest has
    // passed; returns those that ended.
    std::vector<ended> run(std::chrono::milliseconds longest);
    // Ends every transfer still running without an outcome.
    void cancel_all();
    size_t running() const { return transfers.size(); }
    // Any thread: a run() in progress returns at once.
    void wake();

private:
    struct transfer;

    CURLM *multi;
    std::map<CURL *, transfer> transfers;
};

#endif
