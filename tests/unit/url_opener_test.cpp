#include "url_opener.h"

#include "temp_home.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

TEST(DelayedUrl, QueuedUrlIsTakenOnce)
{
    queue_delayed_url("http://localhost/?tq");
    std::string url;
    ASSERT_TRUE(take_delayed_url(url));
    EXPECT_EQ(url, "http://localhost/?tq");
    EXPECT_FALSE(take_delayed_url(url));
}

TEST(DelayedUrl, LaterUrlReplacesTheWaitingOne)
{
    queue_delayed_url("http://first.invalid/");
    queue_delayed_url("http://b/");
    std::string url;
    ASSERT_TRUE(take_delayed_url(url));
    EXPECT_EQ(url, "http://b/");
}

TEST(DelayedUrl, LongUrlIsCutTo1023Characters)
{
    const std::string long_url = "http://x/" + std::string(2000 - 9, 'a');
    queue_delayed_url(long_url.c_str());
    std::string url;
    ASSERT_TRUE(take_delayed_url(url));
    EXPECT_EQ(url, long_url.substr(0, 1023));
}

TEST(DelayedUrl, NullUrlQueuesNothing)
{
    std::string url;
    take_delayed_url(url);
    queue_delayed_url(nullptr);
    EXPECT_FALSE(take_delayed_url(url));
}

TEST(UrlOpener, RefusesUrlsTheOpenerWouldMisread)
{
    EXPECT_FALSE(start_url_opener(nullptr));
    EXPECT_FALSE(start_url_opener(""));
    EXPECT_FALSE(start_url_opener("--help"));
    EXPECT_FALSE(start_url_opener("-x"));
}

namespace {
// Sets PATH for the life of the object.
class scoped_path {
public:
    explicit scoped_path(const std::string &path) : old_(getenv("PATH") ? getenv("PATH") : "")
    {
        setenv("PATH", path.c_str(), 1);
    }
    ~scoped_path() { setenv("PATH", old_.c_str(), 1); }

private:
    std::string old_;
};

void make_file(const std::string &path, mode_t mode)
{
    FILE *file = fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    fputs("#!/bin/sh\n", file);
    fclose(file);
    chmod(path.c_str(), mode);
}
}

TEST(ProgramSearch, FindsTheFirstExecutableFileAlongPath)
{
    TempDir first, second, third;
    make_file(first.path() + "/tool", 0644);                 // not executable
    mkdir((second.path() + "/tool").c_str(), 0755);          // a directory
    make_file(third.path() + "/tool", 0755);
    scoped_path path(first.path() + "::" + second.path() + ":" + third.path());
    EXPECT_EQ(find_program_in_path("tool"), third.path() + "/tool");
}

TEST(ProgramSearch, NeverLooksInTheCurrentDirectory)
{
    TempDir here;
    make_file(here.path() + "/tool", 0755);
    char old_directory[4096];
    ASSERT_NE(getcwd(old_directory, sizeof old_directory), nullptr);
    ASSERT_EQ(chdir(here.path().c_str()), 0);
    {
        scoped_path path(":/nonexistent-directory:");
        EXPECT_EQ(find_program_in_path("tool"), "");
    }
    ASSERT_EQ(chdir(old_directory), 0);
}

TEST(ProgramSearch, MissingProgramMeansTheOpenerCannotStart)
{
    TempDir empty;
    scoped_path path(empty.path());
    EXPECT_EQ(find_program_in_path(url_opener_program), "");
    EXPECT_FALSE(start_url_opener("http://localhost/"));
}
