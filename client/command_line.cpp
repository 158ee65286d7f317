#include "command_line.h"

#include "text_bytes.h"

#include <wx/cmdline.h>
#include <wx/msgout.h>

namespace {

constexpr size_t max_host_length = 253;
constexpr int max_port = 65535;
constexpr size_t max_port_digits = 5;

// The parser reports errors through the toolkit's message output, which in a
// GUI program may be a dialog; this one keeps them for the caller instead.
class captured_message_output : public wxMessageOutput {
public:
    captured_message_output() : previous_(wxMessageOutput::Set(this)) {}
    ~captured_message_output() override { wxMessageOutput::Set(previous_); }
    captured_message_output(const captured_message_output &) = delete;
    captured_message_output &operator=(const captured_message_output &) = delete;

    void Output(const wxString &text) override { text_ += wx_to_bytes(text); }
    const std::string &text() const { return text_; }

private:
    wxMessageOutput *previous_;
    std::string text_;
};

bool valid_host(const std::string &host)
{
    if (host.empty() || host.size() > max_host_length || host[0] == '-' || host[0] == '.')
        return false;
    for (char c : host) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!allowed)
            return false;
    }
    return true;
}

bool parse_port(const std::string &text, int &port)
{
    if (text.empty() || text.size() > max_port_digits)
        return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > max_port)
        return false;
    port = value;
    return true;
}

// "HOST[:PORT]"
bool parse_host_and_port(const std::string &text, std::string &host, int &port)
{
    const size_t colon = text.find(':');
    host = text.substr(0, colon);
    if (!valid_host(host))
        return false;
    return colon == std::string::npos || parse_port(text.substr(colon + 1), port);
}

void describe(wxCmdLineParser &parser)
{
    parser.SetLogo(wxS("Varn Ossic client"));
    parser.AddSwitch(wxS("h"), wxS("help"), wxS("show this help"), wxCMD_LINE_OPTION_HELP);
    parser.AddOption(wxString(), wxS("web-host"), wxS("the game's web host, HOST[:PORT]"));
    parser.AddParam(wxS("HOST"), wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
    parser.AddParam(wxS("PORT"), wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

// Reads the parsed values; returns the error text, empty when all are valid.
std::string read_values(const wxCmdLineParser &parser, connect_settings &settings)
{
    wxString value;
    if (parser.Found(wxS("web-host"), &value) &&
        !parse_host_and_port(wx_to_bytes(value), settings.web_host, settings.web_port))
        return "Invalid web host: " + wx_to_bytes(value) + "\n";
    if (parser.GetParamCount() > 0) {
        settings.game_host = wx_to_bytes(parser.GetParam(0));
        if (!valid_host(settings.game_host))
            return "Invalid host: " + settings.game_host + "\n";
    }
    if (parser.GetParamCount() > 1) {
        const std::string port = wx_to_bytes(parser.GetParam(1));
        if (!parse_port(port, settings.game_port))
            return "Invalid port: " + port + " (1 to 65535)\n";
    }
    return std::string();
}

// The storage behind the pointers once the command line has set them.
std::string stored_game_host;
std::string stored_web_host;

} // namespace

const char *connect_address = VUSK_GAME_HOST;
int connect_port = default_game_port;
const char *web_host_name = VUSK_WEB_HOST;
int web_host_port = default_web_port;

command_line_outcome parse_command_line(int argc, char **argv, connect_settings &settings)
{
    captured_message_output output;
    wxCmdLineParser parser(argc, argv);
    describe(parser);

    command_line_outcome outcome;
    const int result = parser.Parse(false);
    if (result == -1) {
        outcome.action = command_line_action::show_help;
        outcome.message = wx_to_bytes(parser.GetUsageString());
        return outcome;
    }
    connect_settings parsed = settings;
    std::string error = result == 0 ? read_values(parser, parsed) : output.text();
    if (!error.empty()) {
        outcome.action = command_line_action::fail;
        outcome.message = error + wx_to_bytes(parser.GetUsageString());
        return outcome;
    }
    settings = parsed;
    return outcome;
}

void apply_connect_settings(const connect_settings &settings)
{
    stored_game_host = settings.game_host;
    stored_web_host = settings.web_host;
    connect_address = stored_game_host.c_str();
    web_host_name = stored_web_host.c_str();
    connect_port = settings.game_port;
    web_host_port = settings.web_port;
}

std::string web_page_url(const char *path)
{
    std::string url = std::string("http://") + web_host_name;
    if (web_host_port != default_web_port)
        url += ":" + std::to_string(web_host_port);
    return url + path;
}
