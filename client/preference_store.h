#ifndef VUSK_PREFERENCE_STORE_H
#define VUSK_PREFERENCE_STORE_H

// The installation's flat preferences (client id, voting times, the
// configuration directory, the vote menu), kept in the toolkit's per-user
// configuration file of the application "Varn_Ossic". The store is opened for
// one load or one save and written back when it is destroyed.
//
// Keys are flat. A grouped key is spelled group "_" key; a missing group or
// key is spelled "(null)", as the files of earlier versions have it.

#include <memory>
#include <string>

class wxConfigBase;
class wxFileConfig;

constexpr char preference_application_name[] = "Varn_Ossic";

// Values are taken literally: a stored '$' stays a '$'.
std::unique_ptr<wxFileConfig> open_preference_store();

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
