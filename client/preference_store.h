#ifndef VUSK_PREFERENCE_STORE_H
#define VUSK_PREFERENCE_STORE_H

// The installation's flat preferences (client id, voting times, the
// configuration directory, the vote menu), kept in the toolkit's per-user
// configuration file of the application "Varn_Ossic". The store is opened for
// one load or one save.
//
// The file is read with the checks of every settings file (a regular file
// within the size limit, read without waiting), and only its sound part
// reaches the toolkit's reader: a line that the reader cannot parse, or that
// trips its assertions (an entry without a key, a group header met again),
// is left out, so that the next save writes the store clean.
//
// Keys are flat. A grouped key is spelled group "_" key; a missing group or
// key is spelled "(null)", as the files of earlier versions have it.

#include <wx/string.h>

#include <memory>
#include <string>

class background_save;
class wxConfigBase;
class wxFileConfig;

constexpr char preference_application_name[] = "Varn_Ossic";

class preference_store {
public:
    preference_store();
    ~preference_store();
    preference_store(const preference_store &) = delete;
    preference_store &operator=(const preference_store &) = delete;

    // Values are taken literally: a stored '$' stays a '$'.
    wxConfigBase &entries();
    // Whether the entries were changed since the store was read.
    bool changed() const;
    // Whether its file would be within the size a settings file is read at.
    bool fits_its_reader() const;
    // Empties the store; its file is kept aside when it is next saved, and
    // said so: what it held, with the program's own entries, would not fit.
    void start_afresh();
    // Writes the store to its file; returns the failure, empty when saved.
    std::string save();
    // Hands the store's file to a background save.
    void save_in(background_save &save) const;

private:
    // Puts the entries of that text in the store.
    void open(const std::string &text);
    std::string rendered() const;

    std::string path;
    std::string read_text;
    std::unique_ptr<wxFileConfig> config;
};

// The part of a store's text that the toolkit's reader takes without
// complaint, with the same entries: unparsable lines and entries without a
// key are dropped; the entries under a group header met again join that
// group's first header; of an entry met twice in a group the last is kept
// (the one the reader takes).
wxString sound_preference_text(const wxString &text);

std::string config_key(const char *group, const char *key);

// True when the whole text is a base-10 integer within the int range.
bool parse_decimal_int(const std::string &text, int *value);

// Reads of a whole key. A read returns 1 when the entry exists (and, for an
// integer, its text is an integer, stored in target); otherwise 0 with target
// untouched. The read-and-delete forms delete an entry that exists and
// return what the read returned.
int config_read_int(wxConfigBase &store, const std::string &key, int *target);
int config_read_string(wxConfigBase &store, const std::string &key, std::string *target);
int config_read_and_delete_int(wxConfigBase &store, const std::string &key, int *target);
int config_read_and_delete_string(wxConfigBase &store, const std::string &key, std::string *target);
void config_write_int(wxConfigBase &store, const std::string &key, int value);
void config_write_string(wxConfigBase &store, const std::string &key, const std::string &value);
void config_delete_entry(wxConfigBase &store, const std::string &key);

// The same through a group and a key.
inline int config_read_int(wxConfigBase &store, const char *group, const char *key, int *target)
{
    return config_read_int(store, config_key(group, key), target);
}
inline int config_read_and_delete_int(wxConfigBase &store, const char *group, const char *key, int *target)
{
    return config_read_and_delete_int(store, config_key(group, key), target);
}
inline int config_read_and_delete_string(wxConfigBase &store, const char *group, const char *key,
                                         std::string *target)
{
    return config_read_and_delete_string(store, config_key(group, key), target);
}
inline void config_write_int(wxConfigBase &store, const char *group, const char *key, int value)
{
    config_write_int(store, config_key(group, key), value);
}
inline void config_delete_entry(wxConfigBase &store, const char *group, const char *key)
{
    config_delete_entry(store, config_key(group, key));
}

#endif
