#ifndef VUSK_HTTP_FETCH_H
#define VUSK_HTTP_FETCH_H

// HTTP/1.0 GETs from one web host into open files through libcurl, several
// at once on the one thread that runs them. Redirects are not followed, and
// only a 200 answer whose whole body arrived (as long as its Content-Length,
// when the server sent one) counts as complete. Any thread may wake the
// runner.
//
// The host's name is looked up here, on a worker of its own (host_lookup),
// and curl is handed the address: it never starts a lookup that it would
// leave behind when a transfer ends while its name server does not answer.
// Transfers that start while a lookup runs wait for its answer, so a name
// server that hangs holds one lookup however many transfers give up on it.
// A transfer's time limits count from its start, the lookup included.

#include "host_lookup.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
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
    // Any answer but 200, or a body larger than allowed.
    failed,
    // The body could not be written: the disk's failure, not the host's.
    not_stored,
    // The host was unreachable (its name included), or the connection broke
    // or ran out of time: another attempt later may succeed.
    retry_later,
};

class http_fetcher {
public:
    // A transfer that ended, and the tag it was started with.
    struct ended {
        void *tag;
        fetch_outcome outcome;
        // Why the body could not be written (not_stored): an errno value.
        int write_error = 0;
    };

    // Fetches from the web host at host:port; its name is looked up with
    // resolve.
    http_fetcher(std::string host, int port, host_resolver resolve = resolve_host_name);
    // Ends the transfers still running.
    ~http_fetcher();
    http_fetcher(const http_fetcher &) = delete;
    http_fetcher &operator=(const http_fetcher &) = delete;

    // Starts writing the body at path (percent-encoded, from '/') into out,
    // which must stay open until the transfer ends (nothing is flushed or
    // closed here). False when no transfer could be started.
    bool start(const std::string &path, FILE *out, const fetch_limits &limits, void *tag);
    // Runs the transfers until one ends, the host's address is found,
    // wake() is called or longest has passed; returns those that ended.
    std::vector<ended> run(std::chrono::milliseconds longest);
    // Ends every transfer still running without an outcome. A lookup still
    // running is left to finish on its own.
    void cancel_all();
    // Any thread: a run() in progress returns at once, and so does the next
    // one if none is.
    void wake();

private:
    using clock = std::chrono::steady_clock;
    struct transfer;
    struct lookup_board;

    void look_up_unless_a_lookup_serves();
    host_lookup::outcome address(in_addr &found);
    // Hands the address to the transfers waiting for it once the lookup
    // answered, and ends those whose time ran out meanwhile.
    void connect_waiting(std::vector<ended> &finished);
    bool connect(CURL *easy, transfer &waiting, const in_addr &found);
    void end(CURL *easy, fetch_outcome outcome, std::vector<ended> &finished);
    std::chrono::milliseconds until_first_waiting_gives_up(std::chrono::milliseconds longest) const;

    const std::string host;
    const int port;
    const host_resolver resolve;
    CURLM *multi;
    std::map<CURL *, transfer> transfers;
    // Shared with the lookup workers, which may outlive the fetcher.
    const std::shared_ptr<lookup_board> board;
    std::unique_ptr<host_lookup> lookup;
};

#endif
