#include "http_fetch.h"

#include <curl/curl.h>

#include <arpa/inet.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace {

constexpr long http_ok = 200;

struct body_sink {
    FILE *file;
    curl_off_t written = 0;
    curl_off_t max_bytes;
    // Why the file took no more of the body; 0 while it takes it all.
    int write_error = 0;
};

size_t write_body(char *data, size_t size, size_t count, void *user)
{
    body_sink &sink = *static_cast<body_sink *>(user);
    const size_t length = size * count;
    sink.written += curl_off_t(length);
    if (sink.written > sink.max_bytes)
        return 0;
    errno = 0;
    const size_t wrote = fwrite(data, 1, length, sink.file);
    if (wrote < length)
        sink.write_error = errno ? errno : EIO;
    return wrote;
}

struct address_list_free {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

CURLM *new_multi_handle()
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    return curl_multi_init();
}

// The time limits are set once the host's address is known.
void set_options(CURL *easy, const std::string &url, body_sink &sink, const fetch_limits &limits)
{
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.max_bytes));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, write_body);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &sink);
}

bool is_transport_failure(CURLcode result)
{
    switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return true;
    default:
        return false;
    }
}

fetch_outcome judge(CURL *easy, CURLcode result, const body_sink &sink)
{
    if (sink.write_error != 0)
        return fetch_outcome::not_stored;
    if (result != CURLE_OK)
        return is_transport_failure(result) ? fetch_outcome::retry_later : fetch_outcome::failed;
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    return status == http_ok ? fetch_outcome::complete : fetch_outcome::failed;
}

// At least a millisecond: curl takes 0 for no limit.
long milliseconds_left(std::chrono::steady_clock::time_point deadline, std::chrono::steady_clock::time_point now)
{
    return long(std::max<long long>(1, std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count()));
}

} // namespace

struct http_fetcher::transfer {
    body_sink sink;
    void *tag = nullptr;
    clock::time_point connect_by;
    clock::time_point finish_by;
    // Set once the address is handed over and curl runs the transfer.
    std::unique_ptr<curl_slist, address_list_free> address;
    bool running = false;
};

// What the lookup running tells the fetcher. Its worker posts the answer and
// wakes the fetcher under the mutex; the fetcher, going, stops the waking
// under it, so a lookup left behind never touches it.
struct http_fetcher::lookup_board {
    explicit lookup_board(CURLM *multi) : to_wake(multi) {}

    void post(bool found, const in_addr &answer)
    {
        std::lock_guard<std::mutex> lock(mutex);
        outcome = found ? host_lookup::outcome::found : host_lookup::outcome::failed;
        address = answer;
        if (to_wake != nullptr)
            curl_multi_wakeup(to_wake);
    }

    std::mutex mutex;
    CURLM *to_wake;
    host_lookup::outcome outcome = host_lookup::outcome::pending;
    in_addr address{};
};

http_fetcher::http_fetcher(std::string host, int port, host_resolver resolve)
    : host(std::move(host)), port(port), resolve(std::move(resolve)), multi(new_multi_handle()),
      board(std::make_shared<lookup_board>(multi))
{
}

http_fetcher::~http_fetcher()
{
    cancel_all();
    {
        std::lock_guard<std::mutex> lock(board->mutex);
        board->to_wake = nullptr;
    }
    lookup.reset();
    curl_multi_cleanup(multi);
}

void http_fetcher::wake()
{
    curl_multi_wakeup(multi);
}

bool http_fetcher::start(const std::string &path, FILE *out, const fetch_limits &limits, void *tag)
{
    CURL *easy = multi == nullptr ? nullptr : curl_easy_init();
    if (easy == nullptr)
        return false;
    look_up_unless_a_lookup_serves();
    const clock::time_point now = clock::now();
    transfer &added = transfers[easy];
    added.sink = {out, 0, curl_off_t(limits.max_bytes)};
    added.tag = tag;
    added.connect_by = now + std::min<std::chrono::milliseconds>(std::chrono::seconds(limits.connect_timeout_s),
                                                                  limits.total_timeout);
    added.finish_by = now + limits.total_timeout;
    set_options(easy, "http://" + host + ":" + std::to_string(port) + path, added.sink, limits);
    return true;
}

// A lookup serves while it runs, and once answered until the transfers that
// waited for it have its answer.
void http_fetcher::look_up_unless_a_lookup_serves()
{
    in_addr unused{};
    const bool transfers_wait = std::any_of(transfers.begin(), transfers.end(),
                                            [](const auto &entry) { return !entry.second.running; });
    if (lookup && (transfers_wait || address(unused) == host_lookup::outcome::pending))
        return;
    {
        std::lock_guard<std::mutex> lock(board->mutex);
        board->outcome = host_lookup::outcome::pending;
    }
    lookup = std::make_unique<host_lookup>(
        host.c_str(), [board = board, resolve = resolve](const std::string &name, in_addr &found) {
            const bool answered = resolve(name, found);
            board->post(answered, found);
            return answered;
        });
}

// The lookup's own outcome counts when it answered without its worker (an
// address given as digits, or no worker to be had).
host_lookup::outcome http_fetcher::address(in_addr &found)
{
    {
        std::lock_guard<std::mutex> lock(board->mutex);
        if (board->outcome != host_lookup::outcome::pending) {
            found = board->address;
            return board->outcome;
        }
    }
    return lookup->check(found);
}

void http_fetcher::connect_waiting(std::vector<ended> &finished)
{
    if (!lookup)
        return;
    in_addr found{};
    const host_lookup::outcome answer = address(found);
    const clock::time_point now = clock::now();
    for (auto next = transfers.begin(); next != transfers.end();) {
        auto &[easy, waiting] = *next++;
        if (waiting.running || (answer == host_lookup::outcome::pending && now < waiting.connect_by))
            continue;
        if (answer != host_lookup::outcome::found || !connect(easy, waiting, found))
            end(easy, fetch_outcome::retry_later, finished);
    }
}

bool http_fetcher::connect(CURL *easy, transfer &waiting, const in_addr &found)
{
    const clock::time_point now = clock::now();
    if (now >= waiting.connect_by)
        return false;
    char digits[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &found, digits, sizeof digits);
    waiting.address.reset(curl_slist_append(nullptr, (host + ":" + std::to_string(port) + ":" + digits).c_str()));
    if (!waiting.address)
        return false;
    curl_easy_setopt(easy, CURLOPT_RESOLVE, waiting.address.get());
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, milliseconds_left(waiting.connect_by, now));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, milliseconds_left(waiting.finish_by, now));
    waiting.running = curl_multi_add_handle(multi, easy) == CURLM_OK;
    return waiting.running;
}

void http_fetcher::end(CURL *easy, fetch_outcome outcome, std::vector<ended> &finished)
{
    const auto ending = transfers.find(easy);
    finished.push_back({ending->second.tag, outcome, ending->second.sink.write_error});
    if (ending->second.running)
        curl_multi_remove_handle(multi, easy);
    curl_easy_cleanup(easy);
    transfers.erase(ending);
}

std::chrono::milliseconds http_fetcher::until_first_waiting_gives_up(std::chrono::milliseconds longest) const
{
    const clock::time_point now = clock::now();
    for (const auto &[easy, waiting] : transfers)
        if (!waiting.running)
            longest = std::min(longest, std::chrono::ceil<std::chrono::milliseconds>(waiting.connect_by - now));
    return std::max(longest, std::chrono::milliseconds(0));
}

std::vector<http_fetcher::ended> http_fetcher::run(std::chrono::milliseconds longest)
{
    std::vector<ended> finished;
    connect_waiting(finished);
    int running_now = 0;
    curl_multi_perform(multi, &running_now);
    int left = 0;
    while (CURLMsg *message = curl_multi_info_read(multi, &left)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        CURL *easy = message->easy_handle;
        end(easy, judge(easy, message->data.result, transfers.at(easy).sink), finished);
    }
    if (finished.empty())
        curl_multi_poll(multi, nullptr, 0, int(until_first_waiting_gives_up(longest).count()), nullptr);
    return finished;
}

void http_fetcher::cancel_all()
{
    for (auto &[easy, cancelled] : transfers) {
        if (cancelled.running)
            curl_multi_remove_handle(multi, easy);
        curl_easy_cleanup(easy);
    }
    transfers.clear();
}
