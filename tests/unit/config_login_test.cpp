#include "config_files_fixture.h"

#include "heap_bytes.h"
#include "recording_config_effects.h"
#include "stderr_capture.h"
#include "vusk_xml.h"

#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string name_element(const std::string &name)
{
    return "<name>" + name + "</name>";
}

std::string record_text(const std::string &name, int font_size)
{
    return "<single_config>" + name_element(name) + "<font_size>" + std::to_string(font_size) +
           "</font_size></single_config>\n";
}

class ConfigLogin : public ConfigFilesTest {
protected:
    ConfigLogin() { TConfig::Instance()->set_effects(&effects); }
    ~ConfigLogin() override { TConfig::Instance()->set_effects(nullptr); }

    // Starts the program's configuration as at start-up.
    TConfig &start()
    {
        load_system_config();
        return *TConfig::Instance();
    }

    void expect_login_keeps_its_record(bool arden_first);

    std::string saved_current_name() const
    {
        const std::string system = read_file(in_config_dir("varn_ossic.cfg"));
        const size_t start = system.find("<curr_config>") + strlen("<curr_config>");
        return system.substr(start, system.find("</curr_config>") - start);
    }

    recording_config_effects effects;
};

bool contains(const std::vector<std::string> &calls, const std::string &call)
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

} // namespace

TEST_F(ConfigLogin, FirstStartInAnEmptyHome)
{
    TConfig &config = start();
    EXPECT_EQ(std::string(global_uuid, 4), "DFLT");
    EXPECT_EQ(strspn(global_uuid + 4, "0123456789abcdef"), 28u);
    EXPECT_EQ(strlen(global_uuid), 32u);
    EXPECT_EQ(global_config_directory_path, config_dir());
    struct stat status;
    ASSERT_EQ(stat(config_dir().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ASSERT_NE(config.current_record(), nullptr);
    EXPECT_EQ(config.GetName(), "");
    EXPECT_EQ(config.GetInputHeight(), 48);

    save_system_config();
    EXPECT_EQ(saved_current_name(), "");
    EXPECT_TRUE(exists(in_config_dir(".cfg")));
    const std::string store = read_file(store_path());
    EXPECT_NE(store.find(std::string("uuid=") + global_uuid), std::string::npos) << store;
    EXPECT_NE(store.find("config_dir=" + config_dir()), std::string::npos) << store;
}

TEST_F(ConfigLogin, DirectoryChoice)
{
    EXPECT_EQ(find_config_directory("/elsewhere", nullptr), "/elsewhere");
    EXPECT_EQ(find_config_directory("", nullptr), "");
    EXPECT_EQ(find_config_directory("", ""), "");
    EXPECT_EQ(find_config_directory("", "/h"), "/h/Library/Varn Ossic");
    std::filesystem::create_directories(home.path() + "/.VarnOssic");
    EXPECT_EQ(find_config_directory("", home.path().c_str()), home.path() + "/.VarnOssic");
    std::filesystem::create_directories(config_dir());
    EXPECT_EQ(find_config_directory("", home.path().c_str()), config_dir());
}

TEST_F(ConfigLogin, DirectoryThatCannotBeMadeLeavesTheSettingsInMemory)
{
    write_file(store_path(), "config_dir=/dev/null/settings\n");
    testing::internal::CaptureStderr();
    TConfig &config = start();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "Varn Ossic: cannot create the configuration directory /dev/null/settings: Not a directory; "
                    "settings are kept in memory only\n");
    EXPECT_EQ(global_config_directory_path, "");
    ASSERT_NE(config.current_record(), nullptr);

    config.UseConfig("Arden");
    EXPECT_EQ(config.GetName(), "Arden");
    save_system_config();
    EXPECT_NE(read_file(store_path()).find("config_dir=/dev/null/settings"), std::string::npos);
    EXPECT_FALSE(exists(config_dir()));
}

TEST_F(ConfigLogin, ASwitchShowsTheCommandLineSettingsOfTheRecordSwitchedTo)
{
    TConfig &config = start();
    tqconfig other;
    other.name = "Bryn";
    other.local_echo = 0;
    other.cmd_separator = 0;
    other.cmd_pushthrough = 1;
    other.keypad_walking = 0;
    other.locking_scrollback_enable = 1;
    other.url_hotlinking = 0;
    config.add(other);
    effects.calls.clear();
    config.UseConfig("Bryn");
    for (const char *mark : {"check 12370 off", "check 12369 off", "check 12368 on", "check 12371 off",
                             "check 12373 on", "check 12374 off"})
        EXPECT_TRUE(contains(effects.calls, mark)) << mark;
}

TEST_F(ConfigLogin, NoDirectoryMeansADefaultRecordAndNoFiles)
{
    TConfig config;
    config.load_system_config_file();
    ASSERT_NE(config.current_record(), nullptr);
    EXPECT_EQ(config.GetInputHeight(), 48);
    EXPECT_EQ(loaded_config_name, "");
    config.UseConfig("Arden");
    config.UseConfig("Bryn");
    EXPECT_EQ(config.GetName(), "Bryn");
    EXPECT_NE(config.get("Arden"), nullptr);
    EXPECT_EQ(files_in(home.path()), 0);
}

TEST_F(ConfigLogin, FirstLoginNamesTheUnnamedRecordSecondCopiesIt)
{
    TConfig &config = start();
    config.SetInputHeight(100);
    effects.calls.clear();
    config.UseConfig("Arden");
    EXPECT_EQ(config.GetName(), "Arden");
    EXPECT_EQ(loaded_config_name, "Arden");
    EXPECT_EQ(config.records().size(), 1u);
    EXPECT_TRUE(effects.calls.empty());
    save_system_config();
    EXPECT_EQ(saved_current_name(), "Arden");
    EXPECT_TRUE(exists(in_config_dir("Arden.cfg")));

    config.UseConfig("Bryn");
    EXPECT_EQ(config.GetName(), "Bryn");
    EXPECT_EQ(config.GetInputHeight(), 100);
    EXPECT_EQ(config.records().size(), 2u);
    EXPECT_TRUE(effects.calls.empty());
    save_system_config();
    EXPECT_EQ(saved_current_name(), "Bryn");
    EXPECT_NE(read_file(in_config_dir("Bryn.cfg")).find("<input_height>100</input_height>"), std::string::npos);
    EXPECT_NE(read_file(in_config_dir("Arden.cfg")).find("<name>Arden</name>"), std::string::npos);
}

TEST_F(ConfigLogin, KnownRecordsAndExistingFilesAreSwitchedToAndApplied)
{
    TConfig &config = start();
    config.UseConfig("Arden");
    write_file(in_config_dir("Cara.cfg"), record_text("Cara", 14));
    effects.calls.clear();
    config.UseConfig("Cara");
    EXPECT_EQ(config.GetName(), "Cara");
    EXPECT_EQ(config.GetFontSize(), 14);
    EXPECT_EQ(effects.calls.back(), "button_font_resync");
    EXPECT_TRUE(contains(effects.calls, "change_layout"));
    EXPECT_TRUE(contains(effects.calls, "global_font_resync"));

    effects.calls.clear();
    config.UseConfig("Arden");
    EXPECT_EQ(config.GetName(), "Arden");
    EXPECT_EQ(loaded_config_name, "Arden");
    EXPECT_EQ(effects.calls.back(), "button_font_resync");
}

TEST_F(ConfigLogin, AFileWithoutItsRecordCountsAsMissing)
{
    TConfig &config = start();
    config.UseConfig("Arden");
    config.SetInputHeight(120);
    write_file(in_config_dir("Dana.cfg"), record_text("Eve", 16));
    config.UseConfig("Dana");
    ASSERT_NE(config.current_record(), nullptr);
    EXPECT_EQ(config.GetName(), "Dana");
    EXPECT_EQ(config.GetInputHeight(), 120);
    EXPECT_EQ(config.get("Eve")->font_size, 16);
}

TEST_F(ConfigLogin, StartsFromTheSavedNameOrTheUnnamedRecord)
{
    std::filesystem::create_directories(config_dir());
    const std::string header = std::string(xml_declaration) + "\n\n";
    write_file(in_config_dir("varn_ossic.cfg"),
               header + "<system_config_list><curr_config>12</curr_config></system_config_list>\n");
    write_file(in_config_dir(".cfg"), record_text("", 13));
    write_file(in_config_dir("12.cfg"), record_text("12", 15));
    TConfig &config = start();
    EXPECT_EQ(loaded_config_name, "");
    EXPECT_EQ(config.GetFontSize(), 13);

    TConfig again;
    write_file(in_config_dir("varn_ossic.cfg"),
               header + "<system_config_list><curr_config>../12</curr_config></system_config_list>\n");
    again.load_system_config_file();
    EXPECT_EQ(again.GetFontSize(), 13);

    TConfig named;
    write_file(in_config_dir("varn_ossic.cfg"),
               header + "<system_config_list><curr_config>Fay</curr_config></system_config_list>\n");
    write_file(in_config_dir("Fay.cfg"), record_text("Fay", 17));
    named.load_system_config_file();
    EXPECT_EQ(named.GetName(), "Fay");
    EXPECT_EQ(named.GetFontSize(), 17);
}

TEST_F(ConfigLogin, RefusedNamesChangeNothingAndWriteNothing)
{
    TConfig &config = start();
    config.UseConfig("Arden");
    write_file(in_config_dir("sound_version.cfg"), "sounds");
    for (const std::string &name :
         {std::string("../evil"), std::string("a/b"), std::string(".hidden"), std::string("x..y"),
          std::string("bad\x01name"), std::string("tab\there"), std::string("del\x7f"), std::string("nul\0x", 5),
          std::string(config_name_max_length + 1, 'n'), std::string("varn_ossic"), std::string("Sound_Version")}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(is_valid_config_name(name));
        config.UseConfig(name);
        EXPECT_EQ(config.GetName(), "Arden");
        EXPECT_EQ(loaded_config_name, "Arden");
        EXPECT_EQ(config.records().size(), 1u);
    }
    save_system_config();
    EXPECT_EQ(read_file(in_config_dir("sound_version.cfg")), "sounds");
    EXPECT_EQ(files_in(config_dir()), 3);
}

TEST_F(ConfigLogin, LongestNameWithEntitiesReadsBackAsSaved)
{
    TConfig &config = start();
    const std::string name = std::string(config_name_max_length - 3, 'z') + "&<\xe9";
    ASSERT_TRUE(is_valid_config_name(name));
    config.UseConfig(name);
    save_system_config();

    TConfig fresh;
    loaded_config_name = no_config_name;
    fresh.load_system_config_file();
    EXPECT_EQ(fresh.GetName(), name);
    EXPECT_EQ(loaded_config_name, name);
}

TEST_F(ConfigLogin, ClientIdFromTheServer)
{
    start();
    const std::string local_id = global_uuid;
    set_uuid("");
    EXPECT_NE(local_id, global_uuid);
    EXPECT_EQ(std::string(global_uuid, 4), "DFLT");
    EXPECT_FALSE(exists(in_config_dir("varn_ossic.cfg")));

    const int before = static_cast<int>(time(nullptr));
    set_uuid("0123456789abcdef0123456789abcdefTOOLONG");
    EXPECT_FALSE(exists(in_config_dir("varn_ossic.cfg")));
    run_marked_save();
    EXPECT_STREQ(global_uuid, "0123456789abcdef0123456789abcdef");
    EXPECT_GE(global_uuid_create_time, before);
    EXPECT_EQ(global_last_voting_time, global_uuid_create_time);
    EXPECT_EQ(global_last_voting_reminder_time, global_uuid_create_time);
    EXPECT_TRUE(exists(in_config_dir("varn_ossic.cfg")));
    EXPECT_NE(read_file(store_path()).find("uuid=0123456789abcdef0123456789abcdef\n"), std::string::npos);
}

// A first run saves its settings and ends; the next run, a process of its
// own, finds them again.
TEST_F(ConfigLogin, SettingsSurviveARestartOfTheProgram)
{
    pid_t first_run = fork();
    ASSERT_GE(first_run, 0);
    if (first_run == 0) {
        TConfig &config = start();
        config.UseConfig("Arden");
        config.SetButtonTheme(50);
        config.SetInputHeight(200);
        config.SetSystemAudio(0);
        popup_data window;
        snprintf(window.name, sizeof window.name, "who");
        window.x = 33;
        config.SavePopupData(window);
        voting_urls[0] = {"Top list", "https://votes.example/$HOME?id=1"};
        set_uuid("server-given-id");
        run_marked_save();
        _exit(testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(first_run, &status, 0), first_run);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    TConfig &config = start();
    EXPECT_EQ(config.GetName(), "Arden");
    EXPECT_EQ(config.GetButtonTheme(), 50);
    EXPECT_EQ(config.GetInputHeight(), 200);
    EXPECT_EQ(config.GetSystemAudio(), 0);
    EXPECT_EQ(config.GetPopupData("who").x, 33);
    EXPECT_STREQ(global_uuid, "server-given-id");
    EXPECT_EQ(voting_urls[0].url.value_or(""), "https://votes.example/$HOME?id=1");
    EXPECT_NE(global_uuid_create_time, 0);
}

namespace {

// Every file of the directory and what it holds.
std::map<std::string, std::string> contents_of(const std::string &directory)
{
    std::map<std::string, std::string> files;
    for (const auto &entry : std::filesystem::directory_iterator(directory))
        files[entry.path().string()] = ConfigFilesTest::read_file(entry.path().string());
    return files;
}

// One login each, of more characters than the configuration holds.
void log_in_many(TConfig &config, const std::string &prefix, int logins)
{
    for (int login = 0; login < logins; ++login)
        config.UseConfig(prefix + std::to_string(login));
}

constexpr int more_logins_than_records = record_list_capacity + 30;

} // namespace

// A character new after the record list filled up gets a record of its own:
// its change goes to its own file and to no other.
TEST_F(ConfigLogin, ANewCharacterAfterAFullRecordListSavesIntoItsOwnFileOnly)
{
    TConfig &config = start();
    log_in_many(config, "Name", more_logins_than_records);
    save_system_config();
    std::map<std::string, std::string> before = contents_of(config_dir());

    config.UseConfig("Zed");
    EXPECT_EQ(config.GetName(), "Zed");
    config.SetStatusBar(0);
    save_system_config();

    EXPECT_NE(read_file(in_config_dir("Zed.cfg")).find("<status_bar>0</status_bar>"), std::string::npos);
    EXPECT_EQ(saved_current_name(), "Zed");
    before.erase(in_config_dir("varn_ossic.cfg"));
    for (const auto &[path, content] : before)
        EXPECT_EQ(read_file(path), content) << path;
    EXPECT_EQ(config.records().size(), size_t(record_list_capacity));
}

// The record that made room is saved on the way out, and its character's
// next login finds it again, even while its file is still to be written
// behind a save of every record.
TEST_F(ConfigLogin, ACharacterUnloadedToMakeRoomComesBackWithItsSettings)
{
    TConfig &config = start();
    config.UseConfig("First");
    log_in_many(config, "Name", record_list_capacity - 1);
    for (const auto &record : config.records())
        record->automap_size = 21;
    start_system_config_save();
    config.get("First")->input_height = 300;
    config.UseConfig("Newcomer");
    ASSERT_EQ(config.get("First"), nullptr);
    config.UseConfig("First");
    EXPECT_EQ(config.GetInputHeight(), 300);
    EXPECT_EQ(config.GetAutomapSize(), 21);
    finish_config_saves();
    EXPECT_NE(read_file(in_config_dir("First.cfg")).find("<input_height>300</input_height>"), std::string::npos);
}

// A switch of record shows every menu item's value once.
TEST_F(ConfigLogin, ASwitchShowsEveryMarkOnce)
{
    TConfig &config = start();
    tqconfig other;
    other.name = "Bryn";
    other.status_bar = 0;
    other.current_theme = 80;
    config.add(other);
    effects.calls.clear();
    config.UseConfig("Bryn");
    std::map<std::string, int> shown;
    for (const std::string &call : effects.calls)
        if (call.rfind("check ", 0) == 0)
            ++shown[call.substr(0, call.rfind(' '))];
    for (const auto &[item, times] : shown)
        EXPECT_EQ(times, 1) << item;
    // The panels', the themes' and the command line's marks.
    for (const char *mark : {"check 12357 off", "check 12394 on", "check 12370 on"})
        EXPECT_TRUE(contains(effects.calls, mark)) << mark;
}

// Characters that only log in leave nothing to save: their records, copies
// of the one in use, are dropped to make room without a file each, so a
// burst of new names writes nothing; a record changed after its login is
// saved on its way out.
TEST_F(ConfigLogin, UnchangedCopiesAreDroppedWithoutAFileAndChangedOnesSaved)
{
    TConfig &config = start();
    config.UseConfig("Arden");
    save_system_config();
    const std::map<std::string, std::string> before = contents_of(config_dir());

    config.UseConfig("Changed");
    config.SetStatusBar(0);
    log_in_many(config, "Name", more_logins_than_records);
    ASSERT_EQ(config.get("Changed"), nullptr);
    finish_config_saves();

    EXPECT_NE(read_file(in_config_dir("Changed.cfg")).find("<status_bar>0</status_bar>"), std::string::npos);
    EXPECT_EQ(files_in(config_dir()), static_cast<long>(before.size()) + 1);
    for (const auto &[path, content] : before)
        EXPECT_EQ(read_file(path), content) << path;
}

namespace {

constexpr int other_records_in_the_file = 2000;

const char arden_record[] = "<single_config><name>Arden</name><font_size>14</font_size>"
                            "<input_height>300</input_height></single_config>\n";

// A file copied from another install: Arden's record among 2,000 small
// records of other names.
std::string file_of_many_records(bool arden_first)
{
    std::string text = arden_first ? arden_record : "";
    for (int other = 0; other < other_records_in_the_file; ++other)
        text += record_text("Other" + std::to_string(other), 12);
    return arden_first ? text : text + arden_record;
}

bool holds(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

// The record a login asks for survives the reading of its own file together
// with the record in use, wherever it stands in the file; the records of
// other names that find no room are not read, and the file is kept aside
// when it is replaced, so none of them is lost.
void ConfigLogin::expect_login_keeps_its_record(bool arden_first)
{
    const std::string file = file_of_many_records(arden_first);
    TConfig &config = start();
    write_file(in_config_dir("Arden.cfg"), file);
    config.UseConfig("Tester");
    stderr_capture said;
    config.UseConfig("Arden");
    const std::string text = said.text();
    set_uuid("server-given-id");
    run_marked_save();

    EXPECT_EQ(config.GetName(), "Arden");
    EXPECT_EQ(config.GetInputHeight(), 300);
    EXPECT_EQ(config.GetFontSize(), 14);
    EXPECT_NE(config.get("Tester"), nullptr);
    const std::string saved = read_file(in_config_dir("Arden.cfg"));
    EXPECT_TRUE(holds(saved, "<input_height>300</input_height>")) << saved;
    EXPECT_TRUE(holds(saved, "<font_size>14</font_size>")) << saved;
    EXPECT_EQ(read_file(in_config_dir("Arden.cfg.damaged")), file);
    // The records held, one unloaded to make room for Arden's when it comes
    // last, the system file and the file kept aside.
    EXPECT_LE(files_in(config_dir()), record_list_capacity + 3);
    EXPECT_EQ(text.find("Varn Ossic:"), text.rfind("Varn Ossic:")) << text;
    EXPECT_TRUE(holds(text, "records of other characters in")) << text;
}

TEST_F(ConfigLogin, ALoginKeepsItsRecordReadFirstFromAFileOfManyRecords)
{
    expect_login_keeps_its_record(true);
}

TEST_F(ConfigLogin, ALoginKeepsItsRecordReadLastFromAFileOfManyRecords)
{
    expect_login_keeps_its_record(false);
}

// The only change of a new character's record is a popup's place; 200 other
// names log in, copying a record that lacks the place, and the character's
// record is unloaded to make room on the way. Its file holds the place.
TEST_F(ConfigLogin, APopupsPlaceAloneReachesTheFileOfARecordUnloaded)
{
    TConfig &config = start();
    config.UseConfig("Tester");
    config.UseConfig("Mover");
    popup_data window;
    snprintf(window.name, sizeof window.name, "who");
    window.x = 41;
    window.y = 52;
    config.SavePopupData(window);
    config.UseConfig("Tester");
    log_in_many(config, "Name", record_list_capacity);
    ASSERT_EQ(config.get("Mover"), nullptr);
    set_uuid("server-given-id");
    run_marked_save();
    const std::string saved = read_file(in_config_dir("Mover.cfg"));
    EXPECT_TRUE(holds(saved, "<name>who</name>")) << saved;
    EXPECT_TRUE(holds(saved, "<x>41</x>")) << saved;
    EXPECT_TRUE(holds(saved, "<y>52</y>")) << saved;
}

// Characters that each change a setting log in, one read of logins after
// another, every other read followed by a save (the other records leave
// changed, written as they are unloaded): what is kept of their files for
// comparison goes with their records, so the heap does not grow with the
// characters seen.
TEST_F(ConfigLogin, ChangedLoginsDoNotGrowTheHeapOnceTheListIsFull)
{
    constexpr int logins_per_read = 150;
    constexpr int reads = 8;
    // Far below the files' text of the logins measured.
    constexpr size_t allowed_growth = 256 * 1024;
    TConfig &config = start();
    int login = 0;
    const auto read_of_logins = [&] {
        for (int in_read = 0; in_read < logins_per_read; ++in_read, ++login) {
            config.UseConfig("N" + std::to_string(login));
            config.SetStatusBar(login % 2);
        }
        if (login / logins_per_read % 2 == 0)
            save_system_config();
        else
            finish_config_saves();
    };
    while (login < record_list_capacity + logins_per_read)
        read_of_logins();
    const size_t before = heap_bytes_in_use();
    for (int read = 0; read < reads; ++read)
        read_of_logins();
    EXPECT_LT(heap_bytes_in_use(), before + allowed_growth);
    EXPECT_TRUE(holds(read_file(in_config_dir("N300.cfg")), "<status_bar>0</status_bar>"));
}

// The records of other names refused while one file was read are not
// counted against the next: a good file read after is neither said to have
// records not read nor kept aside when saved.
TEST_F(ConfigLogin, RecordsRefusedInOneFileAreNotCountedAgainstTheNext)
{
    TConfig &config = start();
    write_file(in_config_dir("Arden.cfg"), file_of_many_records(true));
    write_file(in_config_dir("Bryn.cfg"), record_text("Bryn", 13));
    config.UseConfig("Tester");
    {
        stderr_capture said;
        config.UseConfig("Arden");
        EXPECT_TRUE(holds(said.text(), "records of other characters in")) << said.text();
    }
    stderr_capture said;
    config.UseConfig("Bryn");
    EXPECT_EQ(config.GetFontSize(), 13);
    config.SetInputHeight(200);
    save_system_config();
    EXPECT_EQ(said.text(), "");
    EXPECT_FALSE(exists(in_config_dir("Bryn.cfg.damaged")));
    EXPECT_TRUE(holds(read_file(in_config_dir("Bryn.cfg")), "<input_height>200</input_height>"));
}
