#include "http_fetch.h"

#include <curl/curl.h>

#include <algorithm>
#include <mutex>

namespace {

constexpr long http_ok = 200;

struct body_sink {
    FILE *file;
    curl_off_t written = 0;
    curl_off_t max_bytes;
};

size_t write_body(char *data, size_t size, size_t count, void *user)
{
    body_sink &sink = *static_cast<body_sink *>(user);
    const size_t length = size * count;
    sink.written += curl_off_t(length);
    if (sink.written > sink.max_bytes)
        return 0;
    return fwrite(data, 1, length, sink.file);
}

void initialise_curl_once()
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void set_options(CURL *easy, const std::string &url, body_sink &sink, const fetch_limits &limits)
{
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // A transfer ended while its name lookup hangs leaves the lookup behind
    // rather than waiting for it: a silent name server holds up neither the
    // other transfers nor quitting.
    curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, limits.connect_timeout_s);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(limits.total_timeout.count()));
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

fetch_outcome judge(CURL *easy, CURLcode result)
{
    if (result != CURLE_OK)
        return is_transport_failure(result) ? fetch_outcome::retry_later : fetch_outcome::failed;
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    return status == http_ok ? fetch_outcome::complete : fetch_outcome::failed;
}

} // namespace

struct http_fetcher::transfer {
    body_sink sink;
    void *tag;
};

http_fetcher::http_fetcher()
{
    initialise_curl_once();
    multi = curl_multi_init();
}

http_fetcher::~http_fetcher()
{
    cancel_all();
    curl_multi_cleanup(multi);
}

void http_fetcher::wake()
{
    curl_multi_wakeup(multi);
}

bool http_fetcher::start(const std::string &url, FILE *out, const fetch_limits &limits, void *tag)
{
    CURL *easy = multi == nullptr ? nullptr : curl_easy_init();
    if (easy == nullptr)
        return false;
    transfer &added = transfers[easy];
    added = {{out, 0, curl_off_t(limits.max_bytes)}, tag};
    set_options(easy, url, added.sink, limits);
    if (curl_multi_add_handle(multi, easy) == CURLM_OK)
        return true;
    transfers.erase(easy);
    curl_easy_cleanup(easy);
    return false;
}

std::vector<http_fetcher::ended> http_fetcher::run(std::chrono::milliseconds longest)
{
    int running_now = 0;
    curl_multi_perform(multi, &running_now);
    std::vector<ended> finished;
    int left = 0;
    while (CURLMsg *message = curl_multi_info_read(multi, &left)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        CURL *easy = message->easy_handle;
        finished.push_back({transfers[easy].tag, judge(easy, message->data.result)});
        curl_multi_remove_handle(multi, easy);
        curl_easy_cleanup(easy);
        transfers.erase(easy);
    }
    if (finished.empty())
        curl_multi_poll(multi, nullptr, 0, int(std::max<long long>(longest.count(), 0)), nullptr);
    return finished;
}

void http_fetcher::cancel_all()
{
    for (auto &[easy, unused] : transfers) {
        curl_multi_remove_handle(multi, easy);
        curl_easy_cleanup(easy);
    }
    transfers.clear();
}
