// The download service against a real web host on 127.0.0.1 (the test
// server of tests/server), writing into a temporary directory.
#include "vusk_download.h"

#include "http_server.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr auto callback_wait = std::chrono::seconds(60);

download_timing quick_timing()
{
    download_timing timing;
    timing.attempts = 3;
    timing.first_pause = std::chrono::milliseconds(20);
    timing.limits.connect_timeout_s = 5;
    timing.limits.stall_timeout_s = 1;
    timing.limits.max_bytes = 1 << 20;
    return timing;
}

// Collects the callbacks, in the order they come, from the worker thread.
class callback_log {
public:
    struct slot {
        callback_log *log;
        std::string name;
    };

    static void record(void *data, int failed)
    {
        slot &s = *static_cast<slot *>(data);
        std::lock_guard<std::mutex> lock(s.log->mutex);
        s.log->calls.push_back(s.name + (failed ? " failed" : " done"));
        s.log->arrived.notify_all();
    }

    // The calls once at least count have come (or the wait gave up).
    std::vector<std::string> wait_for(size_t count)
    {
        std::unique_lock<std::mutex> lock(mutex);
        arrived.wait_for(lock, callback_wait, [&] { return calls.size() >= count; });
        return calls;
    }

    std::vector<std::string> so_far()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return calls;
    }

    slot *slot_for(const std::string &name)
    {
        slots.push_back(std::make_unique<slot>(slot{this, name}));
        return slots.back().get();
    }

private:
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::string> calls;
    std::vector<std::unique_ptr<slot>> slots;
};

std::string read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void write_file(const std::string &path, const std::string &content)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// Every file under directory, as paths relative to it.
std::set<std::string> files_under(const std::string &directory)
{
    std::set<std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(directory))
        if (!entry.is_directory())
            files.insert(fs::relative(entry.path(), directory).string());
    return files;
}

class DownloadTest : public testing::Test {
protected:
    int download(vusk_download &service, const std::string &name)
    {
        return service.download(name.c_str(), callback_log::record, calls.slot_for(name));
    }

    std::string local(const std::string &name) const { return directory.path() + "/" + name; }

    TempDir directory;
    callback_log calls;
};

TEST_F(DownloadTest, FetchesIntoTheSamePathAndRefusesTheNameWhileQueued)
{
    http_test_server server("files", true);
    server.serve("soundpack/custom/door.ogg", "door sound");
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());

    EXPECT_EQ(download(service, "soundpack/custom/door.ogg"), 1);
    EXPECT_EQ(service.is_queued("soundpack/custom/door.ogg"), 1);
    EXPECT_EQ(download(service, "soundpack/custom/door.ogg"), 0);
    server.release();

    EXPECT_EQ(calls.wait_for(1), std::vector<std::string>{"soundpack/custom/door.ogg done"});
    EXPECT_EQ(read_file(local("soundpack/custom/door.ogg")), "door sound");
    EXPECT_TRUE(fs::is_directory(local("soundpack/custom")));
    EXPECT_EQ(server.requests(), std::vector<std::string>{"GET /soundpack/custom/door.ogg HTTP/1.0"});
    EXPECT_EQ(service.is_queued("soundpack/custom/door.ogg"), 0);
    // A finished name may be asked for again.
    EXPECT_EQ(download(service, "soundpack/custom/door.ogg"), 1);
    EXPECT_EQ(calls.wait_for(2).size(), 2u);
}

TEST_F(DownloadTest, ThreeRequestsTransferOneAfterAnotherInOrder)
{
    http_test_server server;
    for (const char *name : {"a.ogg", "b.ogg", "c.ogg"})
        server.serve(name, name);
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());
    for (const char *name : {"a.ogg", "b.ogg", "c.ogg"})
        EXPECT_EQ(download(service, name), 1);

    EXPECT_EQ(calls.wait_for(3), (std::vector<std::string>{"a.ogg done", "b.ogg done", "c.ogg done"}));
    EXPECT_EQ(server.requests(),
              (std::vector<std::string>{"GET /a.ogg HTTP/1.0", "GET /b.ogg HTTP/1.0", "GET /c.ogg HTTP/1.0"}));
    EXPECT_EQ(files_under(directory.path()), (std::set<std::string>{"a.ogg", "b.ogg", "c.ogg"}));
}

TEST_F(DownloadTest, EncodesTheWebPathAndKeepsTheLocalNameAsItIs)
{
    const std::string name = "sp/a b?#%\xe9.ogg";
    http_test_server server;
    server.serve(name, "odd");
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());
    EXPECT_EQ(download(service, name), 1);

    EXPECT_EQ(calls.wait_for(1), std::vector<std::string>{name + " done"});
    EXPECT_EQ(server.requests(), std::vector<std::string>{"GET /sp/a%20b%3F%23%25%E9.ogg HTTP/1.0"});
    EXPECT_EQ(read_file(local(name)), "odd");
}

TEST_F(DownloadTest, AnUnsafePathFailsAtOnceWithoutARequestAndIsRefusedLater)
{
    http_test_server server;
    vusk_download service(directory.path() + "/config", "127.0.0.1", server.port(), quick_timing());
    fs::create_directory(directory.path() + "/config");
    for (const char *name : {"soundpack/../../escaped.ogg", "/etc/x.ogg", "a//b.ogg"})
        EXPECT_EQ(download(service, name), 1) << name;

    EXPECT_EQ(calls.wait_for(3), (std::vector<std::string>{"soundpack/../../escaped.ogg failed", "/etc/x.ogg failed",
                                                           "a//b.ogg failed"}));
    EXPECT_EQ(download(service, "soundpack/../../escaped.ogg"), 0);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(files_under(directory.path()), std::set<std::string>{});
}

TEST_F(DownloadTest, RefusesMissingAndOverlongNamesWithoutACallback)
{
    http_test_server server;
    server.serve(std::string(99, 'n'), "longest");
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());

    EXPECT_EQ(service.download(nullptr, callback_log::record, nullptr), 0);
    EXPECT_EQ(download(service, std::string(100, 'n')), 0);
    EXPECT_EQ(download(service, std::string(150, 'n')), 0);
    EXPECT_EQ(download(service, std::string(99, 'n')), 1);
    EXPECT_EQ(calls.wait_for(1), std::vector<std::string>{std::string(99, 'n') + " done"});
    EXPECT_EQ(read_file(local(std::string(99, 'n'))), "longest");
}

TEST_F(DownloadTest, AFullQueueRefusesAndAStoppedServiceCallsNoOneBack)
{
    http_test_server server("files", true);
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());
    for (size_t i = 0; i < vusk_download::max_queued; ++i)
        ASSERT_EQ(download(service, "f" + std::to_string(i)), 1);
    EXPECT_EQ(download(service, "one too many"), 0);

    service.stop();
    EXPECT_EQ(download(service, "after the stop"), 0);
    server.release();
    EXPECT_TRUE(calls.so_far().empty());
}

// Each way a web host can let a download down: the failure is reported, and
// the copy already on disk survives with no stray file beside it.
struct host_fault {
    const char *mode;
    size_t requests; // how many attempts the fault is worth
};

void PrintTo(const host_fault &fault, std::ostream *out)
{
    *out << fault.mode;
}

class DownloadFaultTest : public DownloadTest, public testing::WithParamInterface<host_fault> {};

TEST_P(DownloadFaultTest, FailureIsReportedAndTheOldFileStaysIntact)
{
    http_test_server server(GetParam().mode);
    server.serve("soundpack/door.ogg", std::string(4000, 'N'));
    write_file(local("soundpack/door.ogg"), "good old copy");
    vusk_download service(directory.path(), "127.0.0.1", server.port(), quick_timing());
    ASSERT_EQ(download(service, "soundpack/door.ogg"), 1);

    EXPECT_EQ(calls.wait_for(1), std::vector<std::string>{"soundpack/door.ogg failed"});
    EXPECT_EQ(read_file(local("soundpack/door.ogg")), "good old copy");
    EXPECT_EQ(files_under(directory.path()), std::set<std::string>{"soundpack/door.ogg"});
    EXPECT_EQ(server.requests().size(), GetParam().requests);
    EXPECT_EQ(download(service, "soundpack/door.ogg"), 0);
}

INSTANTIATE_TEST_SUITE_P(HostFaults, DownloadFaultTest,
                         testing::Values(host_fault{"notfound", 1}, host_fault{"redirect", 1}, host_fault{"short", 3},
                                         host_fault{"stall", 3}, host_fault{"huge", 1}),
                         [](const testing::TestParamInfo<host_fault> &info) { return std::string(info.param.mode); });

TEST_F(DownloadTest, AnUnreachableHostIsTriedAFewTimesThenFails)
{
    refused_port nobody;
    write_file(local("soundpack/door.ogg"), "good old copy");
    vusk_download service(directory.path(), "127.0.0.1", nobody.port(), quick_timing());
    ASSERT_EQ(download(service, "soundpack/door.ogg"), 1);

    EXPECT_EQ(calls.wait_for(1), std::vector<std::string>{"soundpack/door.ogg failed"});
    EXPECT_EQ(read_file(local("soundpack/door.ogg")), "good old copy");
}

TEST_F(DownloadTest, StoppingDuringAStalledTransferAbandonsItCleanly)
{
    http_test_server server("stall");
    server.serve("soundpack/door.ogg", std::string(4000, 'N'));
    write_file(local("soundpack/door.ogg"), "good old copy");
    download_timing patient = quick_timing();
    patient.limits.stall_timeout_s = 600;
    vusk_download service(directory.path(), "127.0.0.1", server.port(), patient);
    ASSERT_EQ(download(service, "soundpack/door.ogg"), 1);
    while (server.requests().empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    service.stop();
    EXPECT_TRUE(calls.so_far().empty());
    EXPECT_EQ(read_file(local("soundpack/door.ogg")), "good old copy");
    EXPECT_EQ(files_under(directory.path()), std::set<std::string>{"soundpack/door.ogg"});
}

} // namespace
