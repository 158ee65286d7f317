#include "config_files_fixture.h"

#include "settings_files.h"
#include "stderr_capture.h"

#include <gtest/gtest.h>

#include <wx/log.h>
#include <wx/sstream.h>

#include <climits>
#include <map>
#include <random>
#include <vector>

namespace {

class PreferenceStore : public ConfigFilesTest {
protected:
    void write_store(const std::string &lines) { write_file(store_path(), lines); }
    bool store_has(const std::string &line) const
    {
        return ("\n" + read_file(store_path())).find("\n" + line + "\n") != std::string::npos;
    }
    bool store_has_key(const std::string &key) const
    {
        return ("\n" + read_file(store_path())).find("\n" + key + "=") != std::string::npos;
    }
};

} // namespace

TEST(PreferenceKeys, GroupedKeysAndStrictIntegers)
{
    EXPECT_EQ(config_key("main", "last_voting_time"), "main_last_voting_time");
    EXPECT_EQ(config_key(nullptr, "last_voting_time"), "(null)_last_voting_time");
    EXPECT_EQ(config_key("pf001", nullptr), "pf001_(null)");

    int value = 5;
    EXPECT_TRUE(parse_decimal_int("-42", &value));
    EXPECT_EQ(value, -42);
    EXPECT_TRUE(parse_decimal_int("2147483647", &value));
    EXPECT_EQ(value, INT_MAX);
    for (const char *bad : {"", "x1", "12x", " 1", "1 ", "2147483648", "-2147483649", "99999999999999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parse_decimal_int(bad, &value));
        EXPECT_EQ(value, INT_MAX);
    }
}

TEST_F(PreferenceStore, FailedIntegerReadsLeaveTheTargetUntouched)
{
    write_store("whole=12\nword=abc\nhuge=99999999999\nempty=\n");
    preference_store store;
    int target = 5;
    for (const char *key : {"word", "huge", "empty", "missing"}) {
        EXPECT_EQ(config_read_int(store.entries(), key, &target), 0) << key;
        EXPECT_EQ(target, 5);
    }
    EXPECT_EQ(config_read_int(store.entries(), "whole", &target), 1);
    EXPECT_EQ(target, 12);
}

TEST_F(PreferenceStore, FallbackKeysAreReadOnceAndMovedToGroupMain)
{
    write_store("uuid=0123456789abcdef0123456789abcdef\n"
                "main_uuid_create_time=abc\n(null)_uuid_create_time=111\n"
                "(null)_last_voting_time=222\n"
                "main_last_voting_reminder_time=333\n(null)_last_voting_reminder_time=999\n"
                "(null)_voting_reminders=0\n");
    load_system_config();
    EXPECT_EQ(global_uuid_create_time, 111);
    EXPECT_EQ(global_last_voting_time, 222);
    EXPECT_EQ(global_last_voting_reminder_time, 333);
    EXPECT_EQ(global_voting_reminder_enable, 0);
    save_system_config();
    for (const char *line : {"main_uuid_create_time=111", "main_last_voting_time=222",
                             "main_last_voting_reminder_time=333", "main_voting_reminders=0"})
        EXPECT_TRUE(store_has(line)) << line;
    for (const char *key : {"(null)_uuid_create_time", "(null)_last_voting_time", "(null)_voting_reminders"})
        EXPECT_FALSE(store_has_key(key)) << key;
}

TEST_F(PreferenceStore, EmptyIdMakesANewOneAndReadsNoNumbers)
{
    const int start_time = global_uuid_create_time;
    write_store("uuid=\nmain_uuid_create_time=5\nmain_last_voting_time=6\nmain_voting_reminders=0\n");
    load_system_config();
    EXPECT_EQ(std::string(global_uuid, 4), "DFLT");
    EXPECT_EQ(global_uuid_create_time, start_time);
    EXPECT_EQ(global_last_voting_time, 0);
    EXPECT_EQ(global_voting_reminder_enable, 1);
}

TEST_F(PreferenceStore, LegacyKeysLeaveTheStore)
{
    write_store("main_curr_config=Old\npf001_name=Old\npf001_font=Sans\npf001_font_size=9\n"
                "pf001_input_height=60\npf001_gmud_color_display=1\nkept=1\n");
    load_system_config();
    save_system_config();
    for (const char *key : {"main_curr_config", "pf001_name", "pf001_font", "pf001_font_size", "pf001_input_height",
                            "pf001_gmud_color_display"})
        EXPECT_FALSE(store_has_key(key)) << key;
    EXPECT_TRUE(store_has("kept=1"));
    EXPECT_EQ(TConfig::Instance()->GetFontSize(), 10);
}

TEST_F(PreferenceStore, LegacyStepNeedsTheOldCurrentConfiguration)
{
    write_store("(null)_curr_config=Old\npf001_font=Sans\n");
    {
        preference_store store;
        load_and_nuke_oldstyle_system_config(store.entries());
        EXPECT_TRUE(store.changed());
        EXPECT_EQ(store.save(), "");
    }
    EXPECT_FALSE(store_has_key("(null)_curr_config"));
    EXPECT_TRUE(store_has("pf001_font=Sans"));
}

TEST_F(PreferenceStore, VoteEntriesWithAndWithoutLabelsAndUrls)
{
    write_store("main_vote_menu2_name=Gone\nmain_vote_menu2_url=http://gone.example/\n"
                "main_vote_menu5_url=http://orphan.example/\n");
    load_system_config();
    EXPECT_EQ(voting_urls[2].label.value_or(""), "Gone");
    EXPECT_FALSE(voting_urls[5].label);
    voting_urls[0] = {"Top \xe9", "https://top.example/$HOME/vote?x=$1"};
    voting_urls[1] = {"No link", std::nullopt};
    voting_urls[2] = {};
    save_system_config();
    EXPECT_TRUE(store_has("main_vote_menu1_url="));
    for (const char *key : {"main_vote_menu2_name", "main_vote_menu2_url", "main_vote_menu5_url"})
        EXPECT_FALSE(store_has_key(key)) << key;

    voting_urls = {};
    load_system_config();
    EXPECT_EQ(voting_urls[0].label.value_or(""), "Top \xe9");
    EXPECT_EQ(voting_urls[0].url.value_or(""), "https://top.example/$HOME/vote?x=$1");
    EXPECT_EQ(voting_urls[1].label.value_or(""), "No link");
    EXPECT_FALSE(voting_urls[1].url);
    EXPECT_FALSE(voting_urls[2].label || voting_urls[2].url);
}

namespace {

int toolkit_assertions = 0;

void count_assertion(const wxString &, int, const wxString &, const wxString &, const wxString &)
{
    ++toolkit_assertions;
}

// Counts the toolkit's failed assertions while it lives.
class assertion_counter {
public:
    assertion_counter() : previous(wxSetAssertHandler(count_assertion)) { toolkit_assertions = 0; }
    ~assertion_counter() { wxSetAssertHandler(previous); }
    int count() const { return toolkit_assertions; }

private:
    wxAssertHandler_t previous;
};

// Every entry the toolkit reads from a store's text, by lower-case path
// (the toolkit's names are blind to case). Left out: entries without a name,
// and those whose names read as paths, which no key can reach.
std::map<std::string, std::string> toolkit_entries(const wxString &text)
{
    wxStringInputStream in(text);
    wxFileConfig store(in, wxConvUTF8);
    store.SetExpandEnvVars(false);
    std::map<std::string, std::string> entries;
    std::vector<wxString> groups = {wxS("/")};
    while (!groups.empty()) {
        const wxString group = groups.back();
        groups.pop_back();
        store.SetPath(group);
        wxString name;
        long index = 0;
        for (bool more = store.GetFirstEntry(name, index); more; more = store.GetNextEntry(name, index))
            if (!name.empty() && !name.Contains(wxS("/")) && name != wxS(".") && name != wxS(".."))
                entries[(group + wxS("/") + name).Lower().utf8_string()] = store.Read(name, wxString()).utf8_string();
        for (bool more = store.GetFirstGroup(name, index); more; more = store.GetNextGroup(name, index))
            groups.push_back(group + wxS("/") + name);
        store.SetPath(wxS("/"));
    }
    return entries;
}

} // namespace

TEST_F(PreferenceStore, DamagedStoreIsReadAsFarAsSoundAndSavedClean)
{
    const std::string damaged = "uuid=0123456789abcdef0123456789abcdef\n=x\n  = y\nno sign\n[g\n"
                                "main_voting_reminders=0\n[g]\na=1\nA=2\n[g]\nb=2\n[G]\nc=3\n[..]\nlast=1\n";
    write_store(damaged);
    assertion_counter assertions;
    load_system_config();
    EXPECT_EQ(assertions.count(), 0);
    EXPECT_STREQ(global_uuid, "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(global_voting_reminder_enable, 0);
    EXPECT_EQ(read_file(store_path()), damaged);

    save_system_config();
    const std::string clean = read_file(store_path());
    for (const char *gone : {"\n=x\n", "= y", "no sign", "[g\n", "[G]", "[..]", "\na=1\n"})
        EXPECT_EQ(clean.find(gone), std::string::npos) << gone << " in\n" << clean;
    const size_t group = clean.find("\n[g]\nA=2\nb=2\nc=3\n");
    ASSERT_NE(group, std::string::npos) << clean;
    EXPECT_EQ(clean.find("[g]", group + 2), std::string::npos) << clean;
    EXPECT_LT(clean.find("\nlast=1\n"), group) << clean;
    EXPECT_EQ(assertions.count(), 0);
}

// The program's own entries at their longest: every vote label and address
// of the most bytes, each byte written as two (escaped, or ISO-8859-1 in
// UTF-8) and quoted, a client id and numbers of the longest text, a
// configuration directory of nearly the longest path.
class LargestPreferences : public PreferenceStore {
protected:
    LargestPreferences()
    {
        while (directory.size() < PATH_MAX - 100)
            directory += "/" + std::string(200, 'd');
        while (vote_text.size() < voting_text_max_length)
            vote_text += "\\\xe9\"";
        vote_text.resize(voting_text_max_length);
    }

    // Loads a store of other entries beside the directory, and saves it with
    // the longest entries.
    void save_longest_beside(const std::string &others)
    {
        write_store(others + "config_dir=" + directory + "\n");
        load_system_config();
        ASSERT_EQ(global_config_directory_path, directory);
        for (voting_url &vote : voting_urls)
            vote = {vote_text, vote_text};
        snprintf(global_uuid, sizeof global_uuid, "%s", id.c_str());
        for (int *number : {&global_uuid_create_time, &global_last_voting_time, &global_last_voting_reminder_time,
                            &global_voting_reminder_enable})
            *number = INT_MIN;
        save_system_config();
    }

    // The store is within the size a settings file is read at, and gives
    // every entry back whole.
    void expect_read_back_whole()
    {
        EXPECT_LE(read_file(store_path()).size(), settings_file_size_limit);
        voting_urls.fill(voting_url{});
        global_uuid_create_time = 0;
        load_system_config();
        EXPECT_EQ(global_uuid, id);
        EXPECT_EQ(global_uuid_create_time, INT_MIN);
        EXPECT_EQ(global_config_directory_path, directory);
        for (const voting_url &vote : voting_urls) {
            EXPECT_EQ(vote.label, vote_text);
            EXPECT_EQ(vote.url, vote_text);
        }
    }

    std::string directory = home.path();
    std::string vote_text = " ";
    const std::string id = std::string(client_id_capacity - 1, '\\');
};

// The largest store a save writes, the longest entries beside others of
// another program, is read back whole. Others that would leave the longest
// entries no room make way: the store is kept aside, said, and the longest
// entries are written alone.
TEST_F(LargestPreferences, AreReadBackWholeBesideOthersOrAloneWhenTheOthersLeaveNoRoom)
{
    const std::string others = "notes=" + std::string(settings_file_size_limit / 2, 'n') + "\n";
    stderr_capture said;
    save_longest_beside(others);
    expect_read_back_whole();
    EXPECT_TRUE(store_has(others.substr(0, others.size() - 1)));
    EXPECT_EQ(said.text().find("Varn Ossic:"), std::string::npos);

    const std::string too_many_others = "notes=" + std::string(settings_file_size_limit - 5000, 'n') + "\n";
    stderr_capture said_later;
    save_longest_beside(too_many_others);
    EXPECT_NE(said_later.text().find("Varn Ossic: cannot use the settings file " + store_path() + " ("),
              std::string::npos);
    EXPECT_EQ(read_file(store_path() + ".damaged"), too_many_others + "config_dir=" + directory + "\n");
    expect_read_back_whole();
    EXPECT_FALSE(store_has_key("notes"));
}

TEST(PreferenceText, SoundTextReadsAsTheToolkitReadsTheWholeText)
{
    const std::vector<std::string> pieces = {"[", "]", "=", "a", "A", "b", "/", ".", "..", " ", "\t", "\\",
                                             ";", "#", "!", "\r", "\xc3\xa9", "\xc3\x89", "x=1", "\n"};
    std::mt19937 random(4242);
    assertion_counter assertions;
    wxLogNull quiet;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        for (int piece = random() % 60; piece > 0; --piece)
            bytes += pieces[random() % pieces.size()];
        const wxString text = wxString::FromUTF8(bytes);
        SCOPED_TRACE(bytes);
        const wxString sound = sound_preference_text(text);
        const int before = assertions.count();
        const auto entries = toolkit_entries(sound);
        ASSERT_EQ(assertions.count(), before) << sound.utf8_string();
        // A leading '!' marks an entry the toolkit lets no later line change,
        // which leaves which of two lines it takes to its sorting.
        if (bytes.find('!') == std::string::npos) {
            EXPECT_EQ(entries, toolkit_entries(text));
        }
        EXPECT_EQ(sound_preference_text(sound), sound);
    }
    // The lines the toolkit cannot take alone do trip it.
    EXPECT_GT(assertions.count(), 0);
}
