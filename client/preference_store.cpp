#include "preference_store.h"

#include "text_bytes.h"

#include <wx/fileconf.h>

#include <charconv>

namespace {
const char missing_part[] = "(null)";

// Both the per-user file and the system-wide one, as the toolkit names them.
constexpr long store_style = wxCONFIG_USE_LOCAL_FILE | wxCONFIG_USE_GLOBAL_FILE;
}

std::unique_ptr<wxFileConfig> open_preference_store()
{
    auto store = std::make_unique<wxFileConfig>(bytes_to_wx(preference_application_name), wxEmptyString,
                                                wxEmptyString, wxEmptyString, store_style);
    // Vote URLs and paths may hold a '$' that is not meant as a variable.
    store->SetExpandEnvVars(false);
    return store;
}

std::string config_key(const char *group, const char *key)
{
    return std::string(group ? group : missing_part) + "_" + (key ? key : missing_part);
}

bool parse_decimal_int(const std::string &text, int *value)
{
    const char *end = text.data() + text.size();
    int parsed = 0;
    auto [stop, error] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || error != std::errc() || stop != end)
        return false;
    *value = parsed;
    return true;
}

int config_read_string(wxConfigBase &store, const std::string &key, std::string *target)
{
    wxString value;
    if (!store.Read(bytes_to_wx(key), &value))
        return 0;
    *target = wx_to_bytes(value);
    return 1;
}

int config_read_int(wxConfigBase &store, const std::string &key, int *target)
{
    std::string text;
    return config_read_string(store, key, &text) && parse_decimal_int(text, target) ? 1 : 0;
}

int config_read_and_delete_int(wxConfigBase &store, const std::string &key, int *target)
{
    int found = config_read_int(store, key, target);
    config_delete_entry(store, key);
    return found;
}

int config_read_and_delete_string(wxConfigBase &store, const std::string &key, std::string *target)
{
    int found = config_read_string(store, key, target);
    config_delete_entry(store, key);
    return found;
}

void config_write_int(wxConfigBase &store, const std::string &key, int value)
{
    config_write_string(store, key, std::to_string(value));
}

void config_write_string(wxConfigBase &store, const std::string &key, const std::string &value)
{
    store.Write(bytes_to_wx(key), bytes_to_wx(value));
}

void config_delete_entry(wxConfigBase &store, const std::string &key)
{
    store.DeleteEntry(bytes_to_wx(key), true);
}
