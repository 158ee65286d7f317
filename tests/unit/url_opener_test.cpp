#include "url_opener.h"

#include "base_toolkit.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/apptrait.h>
#include <wx/evtloop.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
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

void make_file(const std::string &path, mode_t mode, const std::string &text = "#!/bin/sh\n")
{
    std::ofstream(path, std::ios::binary) << text;
    chmod(path.c_str(), mode);
}

bool file_exists(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string file_text(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A stand-in for the desktop's opener, first on PATH, that writes the number
// of its arguments and each argument ended by a NUL byte, then exits with 3.
// Starts the toolkit's base library (no display), which reaps the opener.
class fake_opener {
public:
    fake_opener()
        : record_(bin_.path() + "/arguments"),
          path_(bin_.path() + ":" + (getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin"))
    {
        EXPECT_TRUE(start_base_toolkit());
        make_file(bin_.path() + "/" + url_opener_program, 0755,
                  "#!/bin/sh\n"
                  "printf '%s\\n' \"$#\" > '" + record_ + ".part'\n"
                  "printf '%s\\0' \"$@\" >> '" + record_ + ".part'\n"
                  "mv '" + record_ + ".part' '" + record_ + "'\n"
                  "exit 3\n");
    }

    const std::string &directory() const { return bin_.path(); }

    // Runs the toolkit's event loop, which reaps the opener, until the opener
    // has written its record or five seconds have passed.
    std::string arguments()
    {
        std::unique_ptr<wxEventLoopBase> loop(wxAppConsole::GetInstance()->GetTraits()->CreateEventLoop());
        wxEventLoopActivator active(loop.get());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!file_exists(record_) && std::chrono::steady_clock::now() < deadline)
            loop->DispatchTimeout(20);
        return file_text(record_);
    }

private:
    TempDir bin_;
    std::string record_;
    scoped_path path_;
};
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

TEST(UrlOpener, HostileUrlReachesTheOpenerAsOneUnchangedArgument)
{
    fake_opener opener;
    const std::string url = "http://localhost/?q=\"x\"&a=$(touch " + opener.directory() +
                            "/ran)&b=`touch " + opener.directory() + "/ran`;touch " +
                            opener.directory() + "/ran; 'q' \\ | > caf\xe9\n$HOME";
    EXPECT_TRUE(start_url_opener(url.c_str()));
    EXPECT_EQ(opener.arguments(), "1\n" + url + std::string(1, '\0'));
    EXPECT_FALSE(file_exists(opener.directory() + "/ran"));
}

TEST(UrlOpener, SuccessMeansTheOpenerStartedWhateverItReturns)
{
    fake_opener opener;
    EXPECT_TRUE(start_url_opener("http://localhost/?tq"));
    EXPECT_EQ(opener.arguments(), std::string("1\nhttp://localhost/?tq") + '\0');
}
