// The download service against a real web host on 127.0.0.1 (the test
// server of tests/server), writing into a temporary directory.
#include "vusk_download.h"

#include "audio_test_support.h"
#include "callback_log.h"
#include "file_text.h"
#include "held_lookup.h"
#include "http_server.h"
#include "lowered_limit.h"
#include "stderr_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>

namespace {

namespace fs = std::filesystem;
using names = std::vector<std::string>;

download_timing quick_timing()
{
    download_timing timing;
    timing.attempts = 3;
    timing.first_pause = std::chrono::milliseconds(20);
    timing.limits.total_timeout = std::chrono::seconds(1);
    return timing;
}

size_t occurrences(const std::string &text, const std::string &part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

names sorted(names list)
{
    std::sort(list.begin(), list.end());
    return list;
}

// Every file under directory, relative to it.
std::set<std::string> files_under(const std::string &directory)
{
    std::set<std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(directory))
        if (!entry.is_directory())
            files.insert(fs::relative(entry.path(), directory).string());
    return files;
}

// The steady clock, moved on by the test: the service's short pauses pass by
// themselves, its long ones when the test moves the clock past them.
class moved_clock {
public:
    void move_on(std::chrono::milliseconds by) { offset_ms += by.count(); }
    std::function<std::chrono::steady_clock::time_point()> now()
    {
        return [this] { return std::chrono::steady_clock::now() + std::chrono::milliseconds(offset_ms.load()); };
    }

private:
    std::atomic<long long> offset_ms{0};
};

class DownloadTest : public testing::Test {
protected:
    names calls(size_t count = 0) { return log.calls(count); }
    int download(vusk_download &service, const std::string &name) { return log.download(service, name); }
    std::string local(const std::string &name) const { return directory.path() + "/" + name; }
    download_timing on_clock(download_timing timing)
    {
        timing.now = clock.now();
        return timing;
    }

    TempDir directory;
    moved_clock clock;
    callback_log log;
};

TEST_F(DownloadTest, FetchesIntoTheSamePathOnceAtATimeAndRefusesWhatItCannotHold)
{
    http_test_server server("files", true);
    server.serve("soundpack/custom/door.ogg", "door sound");
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());

    EXPECT_EQ(download(service, "soundpack/custom/door.ogg"), 1);
    EXPECT_EQ(service.is_queued("soundpack/custom/door.ogg"), 1);
    EXPECT_EQ(download(service, "soundpack/custom/door.ogg"), 0);
    EXPECT_EQ(service.download(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(download(service, std::string(100, 'n')), 0);
    server.release();

    EXPECT_EQ(calls(1), names{"soundpack/custom/door.ogg done"});
    EXPECT_EQ(read_file(local("soundpack/custom/door.ogg")), "door sound");
    EXPECT_EQ(service.is_queued("soundpack/custom/door.ogg"), 0);
    EXPECT_EQ(download(service, "soundpack/custom/door.ogg"), 1) << "a finished name may come again";
    EXPECT_EQ(calls(2).size(), 2u);
}

TEST_F(DownloadTest, RequestsUseEncodedWebPaths)
{
    const names wanted = {"a.ogg", "sp/a b?#%\xe9.ogg", std::string(99, 'n')};
    http_test_server server;
    for (const std::string &name : wanted)
        server.serve(name, name);
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());
    for (const std::string &name : wanted)
        EXPECT_EQ(download(service, name), 1);

    EXPECT_EQ(sorted(calls(3)), sorted({wanted[0] + " done", wanted[1] + " done", wanted[2] + " done"}));
    EXPECT_EQ(sorted(server.requests()), sorted({"GET /a.ogg HTTP/1.0", "GET /sp/a%20b%3F%23%25%E9.ogg HTTP/1.0",
                                                 "GET /" + wanted[2] + " HTTP/1.0"}));
    for (const std::string &name : wanted)
        EXPECT_EQ(read_file(local(name)), name);
}

TEST_F(DownloadTest, AnUnsafePathFailsWithoutARequestAndIsRefusedLater)
{
    http_test_server server;
    vusk_download service(directory.path() + "/config", "127.0.0.1", server.port(), quick_timing());
    fs::create_directory(directory.path() + "/config");
    for (const char *name : {"soundpack/../../escaped.ogg", "/etc/x.ogg", "a//b.ogg"})
        EXPECT_EQ(download(service, name), 1) << name;

    EXPECT_EQ(sorted(calls(3)), sorted({"soundpack/../../escaped.ogg failed", "/etc/x.ogg failed", "a//b.ogg failed"}));
    EXPECT_EQ(download(service, "soundpack/../../escaped.ogg"), 0);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(files_under(directory.path()).empty());
}

// The host holds every request until released. A request that finds the
// queue full pushes out the oldest one not started (told so, and not asked
// of the host), and the newest requests go first.
TEST_F(DownloadTest, AFullQueuePushesOutTheOldestRequestNotStartedAndTheNewestGoFirst)
{
    http_test_server server("files", true);
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());
    for (size_t i = 0; i < vusk_download::max_queued; ++i) {
        server.serve("f" + std::to_string(i), "content");
        ASSERT_EQ(download(service, "f" + std::to_string(i)), 1);
    }
    ASSERT_TRUE(audio_test::wait_until([&] { return server.requests().size() == vusk_download::max_transfers; }));
    const names started = sorted(server.requests());
    std::string oldest_waiting;
    for (size_t i = 0; oldest_waiting.empty(); ++i)
        if (!std::binary_search(started.begin(), started.end(), "GET /f" + std::to_string(i) + " HTTP/1.0"))
            oldest_waiting = "f" + std::to_string(i);
    server.serve("newest", "content");

    EXPECT_EQ(download(service, "newest"), 1);
    EXPECT_EQ(calls(1), names{oldest_waiting + " pushed out"});
    EXPECT_EQ(service.is_queued(oldest_waiting.c_str()), 0);
    server.release();
    const names all = calls(vusk_download::max_queued + 1);
    const auto done = [](const std::string &call) { return call.find(" done") != std::string::npos; };
    EXPECT_EQ(std::count_if(all.begin(), all.end(), done), long(vusk_download::max_queued));
    const names requests = server.requests();
    const auto next_round = requests.begin() + long(vusk_download::max_transfers);
    ASSERT_GE(requests.size(), 2 * vusk_download::max_transfers);
    EXPECT_NE(std::find(next_round, next_round + long(vusk_download::max_transfers), "GET /newest HTTP/1.0"),
              next_round + long(vusk_download::max_transfers))
        << "among the first to start once the held ones ended";
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET /" + oldest_waiting + " HTTP/1.0"), 0);
    EXPECT_TRUE(audio_test::wait_until([&] { return service.idle(); }));
}

TEST_F(DownloadTest, AStoppedServiceCallsNoOneBackAndRefusesEveryRequest)
{
    http_test_server server("files", true);
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());
    for (size_t i = 0; i < vusk_download::max_queued; ++i)
        ASSERT_EQ(download(service, "f" + std::to_string(i)), 1);

    service.stop();
    EXPECT_EQ(download(service, "after the stop"), 0);
    server.release();
    EXPECT_TRUE(calls().empty());
}

// Failures are remembered within a bound: past it the least recently asked
// for is forgotten (and may be asked of the host once more), so a flood of
// failing names never stops the service from fetching a new one.
TEST_F(DownloadTest, PastItsBoundTheLeastRecentlyAskedFailureIsForgotten)
{
    http_test_server server;
    server.serve("good.ogg", "fine");
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());
    // missing0 to missing2 fail first, one after the other; the rest a queue
    // at a time.
    auto fail = [&](size_t first, size_t end) {
        for (size_t i = first; i < end; ++i)
            ASSERT_EQ(download(service, "missing" + std::to_string(i)), 1) << i;
        ASSERT_EQ(calls(end).size(), end);
    };
    for (size_t first = 0; first < 3; ++first)
        fail(first, first + 1);
    for (size_t first = 3; first < vusk_download::max_failures; first += vusk_download::max_queued)
        fail(first, std::min(first + vusk_download::max_queued, vusk_download::max_failures));
    EXPECT_EQ(download(service, "missing0"), 0) << "asked for again: now the most recently asked";
    fail(vusk_download::max_failures, vusk_download::max_failures + 1);

    EXPECT_EQ(download(service, "missing0"), 0);
    EXPECT_EQ(download(service, "missing2"), 0);
    EXPECT_EQ(download(service, "missing1"), 1) << "forgotten: asked of the host once more";
    EXPECT_EQ(download(service, "good.ogg"), 1);
    const names all = calls(vusk_download::max_failures + 3);
    EXPECT_NE(std::find(all.begin(), all.end(), "good.ogg done"), all.end());
    EXPECT_EQ(read_file(local("good.ogg")), "fine");
    EXPECT_EQ(server.requests().size(), vusk_download::max_failures + 3);
}

// A host that gives no answer for a moment (here: it holds every request
// past the time-out) is asked again by a request after the pause; a name
// the host answered with an error stays refused.
TEST_F(DownloadTest, AnUnansweredNameIsAskedAgainAfterAPauseAnAnsweredOneIsNot)
{
    http_test_server server("files", true);
    server.serve("soundpack/door.ogg", "door sound");
    download_timing timing = on_clock(quick_timing());
    timing.attempts = 1;
    vusk_download service(directory.path(), "127.0.0.1", server.port(), timing);
    ASSERT_EQ(timing.unanswered_pause, std::chrono::minutes(1));

    ASSERT_EQ(download(service, "soundpack/door.ogg"), 1);
    ASSERT_EQ(calls(1), names{"soundpack/door.ogg failed"});
    server.release();
    EXPECT_EQ(download(service, "soundpack/door.ogg"), 0) << "within the pause";
    ASSERT_EQ(download(service, "soundpack/gone.ogg"), 1);
    ASSERT_EQ(calls(2).back(), "soundpack/gone.ogg failed");
    clock.move_on(std::chrono::minutes(1));

    EXPECT_EQ(download(service, "soundpack/gone.ogg"), 0) << "the host said it has none";
    EXPECT_EQ(download(service, "soundpack/door.ogg"), 1);
    EXPECT_EQ(calls(3).back(), "soundpack/door.ogg done");
    EXPECT_EQ(read_file(local("soundpack/door.ogg")), "door sound");
    clock.move_on(std::chrono::minutes(600));
    EXPECT_EQ(download(service, "soundpack/gone.ogg"), 0);
}

// A name asked again after its pause that fails once more takes one place
// among the failures: with the others filling the bound up to it, it is
// still refused, and the host is asked for it twice only.
TEST_F(DownloadTest, ANameThatFailsAgainAfterItsPauseIsRememberedOnce)
{
    http_test_server server("files", true);
    download_timing timing = on_clock(quick_timing());
    timing.attempts = 1;
    vusk_download service(directory.path(), "127.0.0.1", server.port(), timing);
    const std::string door = "soundpack/door.ogg";

    ASSERT_EQ(download(service, door), 1);
    ASSERT_EQ(calls(1), names{door + " failed"}) << "no answer";
    server.release();
    clock.move_on(std::chrono::minutes(1));
    ASSERT_EQ(download(service, door), 1);
    ASSERT_EQ(calls(2).back(), door + " failed") << "the host has none";
    // The others, other1 upwards, a queue at a time; each call but door's two
    // is one of them.
    for (size_t first = 1; first < vusk_download::max_failures; first += vusk_download::max_queued) {
        const size_t end = std::min(first + vusk_download::max_queued, vusk_download::max_failures);
        for (size_t other = first; other < end; ++other)
            ASSERT_EQ(download(service, "other" + std::to_string(other)), 1);
        ASSERT_EQ(calls(end + 1).size(), end + 1);
    }

    EXPECT_EQ(download(service, door), 0);
    const names requests = server.requests();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET /" + door + " HTTP/1.0"), 2);
}

TEST_F(DownloadTest, StoppingDuringAStalledTransferAbandonsItCleanly)
{
    http_test_server server("stall");
    server.serve("soundpack/door.ogg", std::string(4000, 'N'));
    write_file(local("soundpack/door.ogg"), "good old copy");
    download_timing patient = quick_timing();
    patient.limits.total_timeout = std::chrono::minutes(10);
    vusk_download service(directory.path(), "127.0.0.1", server.port(), patient);
    ASSERT_EQ(download(service, "soundpack/door.ogg"), 1);
    while (server.requests().empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    service.stop();
    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(read_file(local("soundpack/door.ogg")), "good old copy");
    EXPECT_EQ(files_under(directory.path()), std::set<std::string>{"soundpack/door.ogg"});
}

// Each way a web host can let a download down ("refused": nothing listens):
// the failure is reported after as many attempts as it is worth, and the
// copy on disk survives with no stray file beside it.
struct host_fault {
    const char *mode;
    size_t requests;
};

void PrintTo(const host_fault &fault, std::ostream *out)
{
    *out << fault.mode;
}

class DownloadFaultTest : public DownloadTest, public testing::WithParamInterface<host_fault> {};

TEST_P(DownloadFaultTest, FailureIsReportedAndTheOldFileStaysIntact)
{
    const bool refused = GetParam().mode == std::string("refused");
    http_test_server server(refused ? "files" : GetParam().mode);
    refused_port nobody;
    server.serve("soundpack/door.ogg", std::string(4000, 'N'));
    write_file(local("soundpack/door.ogg"), "good old copy");
    vusk_download service(directory.path(), "127.0.0.1", refused ? nobody.port() : server.port(), quick_timing());
    ASSERT_EQ(download(service, "soundpack/door.ogg"), 1);

    EXPECT_EQ(calls(1), names{"soundpack/door.ogg failed"});
    EXPECT_EQ(read_file(local("soundpack/door.ogg")), "good old copy");
    EXPECT_EQ(files_under(directory.path()), std::set<std::string>{"soundpack/door.ogg"});
    EXPECT_EQ(server.requests().size(), GetParam().requests);
    EXPECT_EQ(download(service, "soundpack/door.ogg"), 0);
}

INSTANTIATE_TEST_SUITE_P(HostFaults, DownloadFaultTest,
                         testing::Values(host_fault{"notfound", 1}, host_fault{"redirect", 1}, host_fault{"short", 3},
                                         host_fault{"stall", 3}, host_fault{"huge", 1}, host_fault{"refused", 0}),
                         [](const testing::TestParamInfo<host_fault> &info) { return std::string(info.param.mode); });

// A host that holds some requests open without an answer ("hang") or sends
// them a byte a second ("trickle") while it serves other names at once.
class StuckHostDownloadTest : public DownloadTest, public testing::WithParamInterface<const char *> {};

TEST_P(StuckHostDownloadTest, StuckTransfersLeaveRoomForANameServedAtOnceAndStopAbandonsThem)
{
    http_test_server server(GetParam());
    server.serve("chime.ogg", "chime sound");
    download_timing patient = quick_timing();
    patient.limits.total_timeout = std::chrono::minutes(10);
    vusk_download service(directory.path(), "127.0.0.1", server.port(), patient);
    const size_t stuck = vusk_download::max_transfers - 1;
    for (size_t i = 0; i < stuck; ++i)
        ASSERT_EQ(download(service, "stuck" + std::to_string(i)), 1);
    ASSERT_TRUE(audio_test::wait_until([&] { return server.requests().size() == stuck; }));

    ASSERT_EQ(download(service, "chime.ogg"), 1);
    EXPECT_EQ(calls(1), names{"chime.ogg done"});
    EXPECT_EQ(read_file(local("chime.ogg")), "chime sound");
    EXPECT_EQ(service.is_queued("stuck0"), 1);
    service.stop();
    EXPECT_EQ(calls(), names{"chime.ogg done"});
    EXPECT_EQ(files_under(directory.path()), std::set<std::string>{"chime.ogg"});
}

// Each attempt ends at the total time limit; the name is not asked again
// within the pause, and once the host serves it again a request after the
// pause fetches it.
TEST_P(StuckHostDownloadTest, AStuckTransferEndsAtItsTimeLimitAndIsFetchedOnceTheHostComesBack)
{
    http_test_server server(GetParam());
    write_file(local("soundpack/door.ogg"), "good old copy");
    download_timing timing = on_clock(quick_timing());
    vusk_download service(directory.path(), "127.0.0.1", server.port(), timing);
    const std::string door = "soundpack/door.ogg";

    ASSERT_EQ(download(service, door), 1);
    EXPECT_EQ(calls(1), names{door + " failed"});
    EXPECT_EQ(server.requests().size(), size_t(timing.attempts));
    EXPECT_EQ(read_file(local(door)), "good old copy");
    EXPECT_EQ(files_under(directory.path()), std::set<std::string>{door});
    EXPECT_EQ(download(service, door), 0) << "within the pause";
    server.serve(door, "new door sound");
    clock.move_on(std::chrono::minutes(1));

    ASSERT_EQ(download(service, door), 1);
    EXPECT_EQ(calls(2).back(), door + " done");
    EXPECT_EQ(read_file(local(door)), "new door sound");
}

INSTANTIATE_TEST_SUITE_P(StuckHosts, StuckHostDownloadTest, testing::Values("hang", "trickle"),
                         [](const testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

// A callback that keeps the worker until the test lets it return.
class held_callback {
public:
    static void call(void *data, int)
    {
        held_callback &held = *static_cast<held_callback *>(data);
        std::unique_lock<std::mutex> lock(held.mutex);
        held.entered = true;
        held.changed.notify_all();
        held.changed.wait(lock, [&] { return held.let_go; });
    }
    bool wait_until_entered()
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [&] { return entered; });
    }
    void release()
    {
        std::lock_guard<std::mutex> lock(mutex);
        let_go = true;
        changed.notify_all();
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false;
    bool let_go = false;
};

// While a callback keeps the worker, a full queue pushes its oldest requests
// out, and those wait for their callbacks within a bound of their own: one
// more queue's worth, then requests are refused.
TEST_F(DownloadTest, WhileACallbackKeepsTheWorkerAtMostTwoQueuesOfRequestsAreTaken)
{
    http_test_server server;
    server.serve("first", "content");
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());
    held_callback held;
    ASSERT_EQ(service.download("first", held_callback::call, &held), 1);
    ASSERT_TRUE(held.wait_until_entered());

    size_t taken = 0;
    for (size_t i = 0; i < 3 * vusk_download::max_queued; ++i)
        taken += size_t(download(service, "n" + std::to_string(i)));
    held.release();
    EXPECT_EQ(taken, 2 * vusk_download::max_queued);
    const names all = calls(taken);
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [](const std::string &call) { return call.find(" pushed out") != std::string::npos; }),
              long(vusk_download::max_queued));
    EXPECT_TRUE(audio_test::wait_until([&] { return service.idle(); }));
}

// The host holds every request; each transfer ends at its 1-second limit.
// Meanwhile the worker, with no place for the requests waiting (and more
// coming), sleeps: curl's timers wake it a few times, not thousands.
TEST_F(DownloadTest, WithEveryPlaceTakenTheWorkerSleepsUntilATransferEnds)
{
    constexpr unsigned long long few_rounds = 40;
    http_test_server server("files", true);
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(download(service, "held" + std::to_string(i)), 1);
    ASSERT_TRUE(audio_test::wait_until([&] { return server.requests().size() == vusk_download::max_transfers; }));
    const unsigned long long rounds_before = service.worker_rounds();
    for (int i = 10; i < 20; ++i)
        ASSERT_EQ(download(service, "held" + std::to_string(i)), 1);

    ASSERT_TRUE(audio_test::wait_until([&] { return server.requests().size() > vusk_download::max_transfers; }));
    EXPECT_LT(service.worker_rounds() - rounds_before, few_rounds);
}

// A name asked for again while it waits counts as newly asked: it starts
// before the names asked after it first, and the host is asked for it once.
TEST_F(DownloadTest, ANameAskedForAgainWhileItWaitsGoesFirst)
{
    http_test_server server("files", true);
    download_timing patient = quick_timing();
    patient.limits.total_timeout = std::chrono::minutes(10);
    vusk_download service(directory.path(), "127.0.0.1", server.port(), patient);
    const auto ask = [&](const std::string &name) {
        server.serve(name, "content");
        return download(service, name);
    };
    for (size_t i = 0; i < vusk_download::max_transfers; ++i)
        ASSERT_EQ(ask("held" + std::to_string(i)), 1);
    ASSERT_TRUE(audio_test::wait_until([&] { return server.requests().size() == vusk_download::max_transfers; }));
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(ask("w" + std::to_string(i)), 1);

    EXPECT_EQ(download(service, "w0"), 0) << "queued: no second request";
    service.ask_again("w1");
    server.release();
    EXPECT_EQ(calls(vusk_download::max_transfers + 10).size(), vusk_download::max_transfers + 10);
    const names requests = server.requests();
    ASSERT_GE(requests.size(), 2 * vusk_download::max_transfers);
    const names next_round(requests.begin() + long(vusk_download::max_transfers),
                           requests.begin() + long(2 * vusk_download::max_transfers));
    for (const char *again : {"GET /w0 HTTP/1.0", "GET /w1 HTTP/1.0"}) {
        EXPECT_NE(std::find(next_round.begin(), next_round.end(), again), next_round.end()) << again;
        EXPECT_EQ(std::count(requests.begin(), requests.end(), again), 1) << again;
    }
}

// While the web host's name lookup hangs, every transfer waits for the one
// lookup and ends at its time limit; none reaches the host. Transfers that
// wait when it answers go on, and so do requests after their pause.
TEST_F(DownloadTest, AHangingNameLookupServesEveryTransferAndTheyGoOnOnceItAnswers)
{
    constexpr int given_up = 6;
    http_test_server server;
    for (const char *name : {"a0", "b0", "b1", "b2"})
        server.serve(name, "content");
    held_lookup lookup(std::chrono::seconds(60));
    download_timing quick = on_clock(quick_timing());
    quick.limits.total_timeout = std::chrono::milliseconds(300);
    vusk_download service(directory.path(), "web.test", server.port(), quick, lookup.resolver());
    for (int i = 0; i < given_up; ++i)
        ASSERT_EQ(download(service, "a" + std::to_string(i)), 1);
    const names failed = calls(given_up);
    EXPECT_EQ(std::count_if(failed.begin(), failed.end(),
                            [](const std::string &call) { return call.find(" failed") != std::string::npos; }),
              given_up);
    EXPECT_EQ(lookup.lookups_started(), 1) << given_up * quick.attempts << " transfers";
    EXPECT_TRUE(server.requests().empty());

    download_timing patient = quick_timing();
    patient.limits.total_timeout = std::chrono::minutes(10);
    vusk_download waiting_service(directory.path(), "web.test", server.port(), patient, lookup.resolver());
    for (const char *name : {"b0", "b1", "b2"})
        ASSERT_EQ(download(waiting_service, name), 1);
    ASSERT_TRUE(audio_test::wait_until([&] { return lookup.lookups_started() == 2; }));
    lookup.let_go();
    const names all = calls(given_up + 3);
    EXPECT_EQ(sorted(names(all.begin() + given_up, all.end())), names({"b0 done", "b1 done", "b2 done"}));
    EXPECT_EQ(lookup.lookups_started(), 2);
    clock.move_on(std::chrono::minutes(1));
    ASSERT_EQ(download(service, "a0"), 1);
    EXPECT_EQ(calls(given_up + 4).back(), "a0 done");
    EXPECT_EQ(sorted(server.requests()),
              names({"GET /a0 HTTP/1.0", "GET /b0 HTTP/1.0", "GET /b1 HTTP/1.0", "GET /b2 HTTP/1.0"}));
}

// A disk that takes no more than 1,000 bytes of a file: the download is the
// disk's failure, not the host's. It is tried again like a transfer the host
// left unanswered, said once on standard error, and fetched when asked for
// after its pause once the disk takes it.
TEST_F(DownloadTest, AFileTheDiskRefusedIsFetchedAgainOnceTheDiskTakesIt)
{
    const std::string door = "soundpack/door.ogg";
    const std::string sound(20000, 's');
    http_test_server server;
    server.serve(door, sound);
    const download_timing timing = on_clock(quick_timing());
    vusk_download service(directory.path(), "127.0.0.1", server.port(), timing);
    std::string said;
    {
        stderr_capture errors;
        lowered_limit small_files(RLIMIT_FSIZE, 1000);
        ASSERT_EQ(download(service, door), 1);
        ASSERT_EQ(calls(1), names{door + " failed"});
        said = errors.text();
    }

    EXPECT_EQ(server.requests().size(), size_t(timing.attempts));
    EXPECT_EQ(occurrences(said, "not stored"), 1u) << said;
    EXPECT_TRUE(files_under(directory.path()).empty());
    EXPECT_EQ(download(service, door), 0) << "within the pause";
    clock.move_on(std::chrono::minutes(1));
    ASSERT_EQ(download(service, door), 1);
    EXPECT_EQ(calls(2).back(), door + " done");
    EXPECT_EQ(read_file(local(door)), sound);
}

// Each attempt fails at once on the disk (a file stands where a directory
// goes). The pauses, 1, 2 and 4 hours on the test's clock, end as the clock
// passes them: the worker looks again within a second.
TEST_F(DownloadTest, ARetryWaitsOutAPauseThatDoublesWithEachAttempt)
{
    write_file(local("blocked"), "a file where a directory goes");
    download_timing timing = on_clock({});
    ASSERT_EQ(timing.attempts, 4);
    timing.first_pause = std::chrono::hours(1);
    refused_port nobody;
    stderr_capture refusals;
    vusk_download service(directory.path(), "127.0.0.1", nobody.port(), timing);
    // Until the worker has looked at its queue since now, and started what
    // was due then.
    const auto looked_again = [&] {
        const unsigned long long seen = service.worker_rounds();
        return audio_test::wait_until([&] { return service.worker_rounds() >= seen + 2; });
    };
    ASSERT_EQ(download(service, "blocked/door.ogg"), 1);
    ASSERT_TRUE(looked_again());
    // The second attempt at 1 hour, the third at 3.
    for (int hour = 1; hour <= 3; ++hour) {
        clock.move_on(std::chrono::hours(1));
        ASSERT_TRUE(looked_again()) << hour;
    }
    EXPECT_TRUE(calls().empty()) << "the last attempt came early";

    clock.move_on(std::chrono::hours(4));
    EXPECT_EQ(calls(1), names{"blocked/door.ogg failed"});
}

} // namespace
