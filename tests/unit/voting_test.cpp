// The voting reminder's time conditions, the server's vote menu entries, and
// where the logo goes.
#include "command_line.h"
#include "logo_layout.h"
#include "menu_label.h"
#include "tqconfig_files.h"
#include "vote_menu.h"
#include "voting_reminder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr long long now = 2000000000;

// Every condition holds, each with a margin.
voting_reminder_clock due_clock()
{
    voting_reminder_clock clock;
    clock.logged_in = true;
    clock.reminders_enabled = true;
    clock.client_id_created = now - 20 * 86400;
    clock.login_time = now - 3600;
    clock.last_command_time = now - 10;
    clock.last_reminder_time = now - 7200;
    clock.last_voting_time = now - 86400;
    return clock;
}

TEST(VotingReminder, EachConditionAtItsBoundary)
{
    EXPECT_TRUE(voting_reminder_due(due_clock(), now));
    auto with = [](auto change) {
        voting_reminder_clock clock = due_clock();
        change(clock);
        return voting_reminder_due(clock, now);
    };
    EXPECT_FALSE(with([](auto &c) { c.logged_in = false; }));
    EXPECT_FALSE(with([](auto &c) { c.reminders_enabled = false; }));
    EXPECT_FALSE(with([](auto &c) { c.login_time = now - 299; }));
    EXPECT_TRUE(with([](auto &c) { c.login_time = now - 300; }));
    EXPECT_FALSE(with([](auto &c) { c.last_command_time = now - 601; }));
    EXPECT_TRUE(with([](auto &c) { c.last_command_time = now - 600; }));
    EXPECT_FALSE(with([](auto &c) { c.client_id_created = now - 864000 + 1; }));
    EXPECT_TRUE(with([](auto &c) { c.client_id_created = now - 864000; }));
    EXPECT_FALSE(with([](auto &c) { c.last_reminder_time = now - 3599; }));
    EXPECT_FALSE(with([](auto &c) { c.last_voting_time = now - 75599; }));
    EXPECT_TRUE(with([](auto &c) { c.last_voting_time = now - 75600; }));
}

class VoteMenu : public testing::Test {
protected:
    VoteMenu()
    {
        voting_urls.fill(voting_url{});
        use_default_voting_urls();
    }
    static std::string label(int entry) { return voting_urls[size_t(entry)].label.value_or("<unset>"); }
    static std::string url(int entry) { return voting_urls[size_t(entry)].url.value_or("<unset>"); }
};

TEST_F(VoteMenu, AnEntryReplacesOnlyItselfAndEntryOneClearsTheRest)
{
    ASSERT_EQ(label(2), "Vote at Listing Site 3");
    ASSERT_EQ(url(0), web_page_url("/vote?site=1"));
    setup_vote_menu("2", "Second site\nhttp://two.example/vote now please");
    EXPECT_EQ(label(1), "Second site");
    EXPECT_EQ(url(1), "http://two.example/vote");
    EXPECT_EQ(label(0), "Vote at Listing Site 1");
    EXPECT_EQ(label(2), "Vote at Listing Site 3");

    setup_vote_menu("1", "\nhttps://one.example/");
    EXPECT_EQ(label(0), "");
    EXPECT_EQ(url(0), "https://one.example/");
    for (int entry = 1; entry < voting_url_count; ++entry)
        EXPECT_EQ(label(entry), "<unset>") << entry;
}

TEST_F(VoteMenu, MalformedEntriesChangeNothing)
{
    for (const auto &[number, data] : std::initializer_list<std::pair<const char *, const char *>>{
             {"0", "x\nhttp://a/"}, {"9", "x\nhttp://a/"}, {"", "x\nhttp://a/"},
             {"99999999999999999999", "x\nhttp://a/"}, {"3", "label only"}, {"3", "label\n"},
             {"3", "label\nfile:///etc/passwd"}, {"3", "label\njavascript:alert(1)"}, {"3", "x\n ftp://a"},
             {"1", "x\n$(reboot)"}, {"3", nullptr}}) {
        setup_vote_menu(number, data);
        EXPECT_EQ(label(0), "Vote at Listing Site 1") << number;
        EXPECT_EQ(label(2), "Vote at Listing Site 3") << number;
    }
    setup_vote_menu("3", (std::string(9000, 'L') + "\nhttp://" + std::string(9000, 'u')).c_str());
    EXPECT_EQ(label(2).size(), 7999u);
    EXPECT_EQ(url(2).size(), 7999u);
}

TEST(MenuLabel, ServerTextIsEscapedAndNeverEmpty)
{
    EXPECT_EQ(menu_label("Rock & Roll\tCtrl-Q\x01\x7f", "x"), wxS("Rock && RollCtrl-Q"));
    EXPECT_EQ(menu_label("\t\n", "fallback"), wxS("fallback"));
    EXPECT_EQ(menu_label("caf\xe9", "x"), wxString::From8BitData("caf\xe9"));
}

TEST(LogoLayout, EachLayoutPutsTheLogoInItsCornerAndEdgesDoNotCount)
{
    // A 192x43 logo over a 100x14 text in an 800x600 client area.
    const logo_layout top_left = compute_logo_layout(2, 800, 600, 192, 43, 100, 14);
    EXPECT_EQ(top_left.rect_width, 192);
    EXPECT_EQ(top_left.rect_height, 52);
    EXPECT_EQ(top_left.logo.x, 0);
    EXPECT_EQ(top_left.text.x, 46);
    EXPECT_EQ(top_left.text.y, 38);
    EXPECT_TRUE(top_left.contains(1, 1));
    EXPECT_FALSE(top_left.contains(0, 10));
    EXPECT_FALSE(top_left.contains(192, 10));
    EXPECT_FALSE(top_left.contains(10, 52));

    const logo_layout bottom_left = compute_logo_layout(1, 800, 600, 192, 43, 100, 14);
    EXPECT_EQ(bottom_left.rect_origin.y, 548);
    EXPECT_EQ(bottom_left.logo.y, 553);
    EXPECT_EQ(bottom_left.text.y, 586);

    for (int layout : {0, 7, -1}) {
        const logo_layout bottom_right = compute_logo_layout(layout, 800, 600, 192, 43, 100, 14);
        EXPECT_EQ(bottom_right.rect_origin.x, 608);
        EXPECT_EQ(bottom_right.logo.x, 608);
        EXPECT_TRUE(bottom_right.contains(799, 599));
        EXPECT_FALSE(bottom_right.contains(608, 599));
    }
}

} // namespace
