#include "gui_harness.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcclient.h>
#include <wx/eventfilter.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <chrono>
#include <thread>

namespace gui {

namespace {
constexpr int POLL_MS = 10;
constexpr int WHEEL_DELTA = 120;
constexpr int WHEEL_LINES_PER_ACTION = 3;

using clock = std::chrono::steady_clock;

// Idle processing also deletes the windows whose destruction was deferred.
void pump_once()
{
    wxTheApp->ProcessPendingEvents();
    wxYield();
    wxTheApp->ProcessIdle();
}

// Notes, while it lives, whether a window or one inside it gets a paint
// event. The toolkit paints a whole window tree in one pass, so once one of
// them has been painted, every pending paint of that tree has been handled.
class paint_watch : public wxEventFilter {
public:
    explicit paint_watch(const wxWindow *window) : window_(window) { wxEvtHandler::AddFilter(this); }
    ~paint_watch() override { wxEvtHandler::RemoveFilter(this); }
    paint_watch(const paint_watch &) = delete;
    paint_watch &operator=(const paint_watch &) = delete;

    int FilterEvent(wxEvent &event) override
    {
        if (event.GetEventType() == wxEVT_PAINT && lies_within(event.GetEventObject()))
            painted_ = true;
        return Event_Skip;
    }

    bool painted() const { return painted_; }

private:
    bool lies_within(const wxObject *object) const
    {
        for (auto *w = wxDynamicCast(object, wxWindow); w != nullptr; w = w->GetParent())
            if (w == window_)
                return true;
        return false;
    }

    const wxWindow *window_;
    bool painted_ = false;
};

void set_modifiers(wxKeyboardState &state, int modifiers)
{
    state.SetControlDown(modifiers & wxMOD_CONTROL);
    state.SetShiftDown(modifiers & wxMOD_SHIFT);
    state.SetAltDown(modifiers & wxMOD_ALT);
    state.SetMetaDown(modifiers & wxMOD_META);
}

wxMouseEvent mouse_event(wxWindow *window, wxEventType type, const wxPoint &position, int modifiers)
{
    wxMouseEvent event(type);
    event.SetEventObject(window);
    event.SetId(window->GetId());
    event.SetPosition(position);
    set_modifiers(event, modifiers);
    return event;
}

void set_button_state(wxMouseEvent &event, wxEventType type)
{
    if (type == wxEVT_LEFT_DOWN || type == wxEVT_LEFT_DCLICK)
        event.SetLeftDown(true);
    else if (type == wxEVT_MIDDLE_DOWN || type == wxEVT_MIDDLE_DCLICK)
        event.SetMiddleDown(true);
    else if (type == wxEVT_RIGHT_DOWN || type == wxEVT_RIGHT_DCLICK)
        event.SetRightDown(true);
}
}

void pump_events(int milliseconds)
{
    const auto end = clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        pump_once();
        if (clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(POLL_MS));
    } while (clock::now() < end);
}

bool wait_until(const std::function<bool()> &condition, int timeout_ms)
{
    const auto end = clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        pump_once();
        if (condition())
            return true;
        if (clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(POLL_MS));
    }
}

bool show_and_wait(wxWindow *top_level)
{
    const paint_watch watch(top_level);
    top_level->Show();
    top_level->Raise();
    return wait_until([&] {
        return top_level->IsShownOnScreen() && top_level->GetHandle() != nullptr && watch.painted();
    });
}

bool refresh_and_wait(wxWindow *window)
{
    const paint_watch watch(window);
    window->Refresh();
    return wait_until([&] { return watch.painted(); });
}

bool destroy_and_wait(wxWindow *top_level)
{
    top_level->Destroy();
    return wait_until([&] { return wxTopLevelWindows.Find(top_level) == nullptr; });
}

// Read through the window's client device context, which reads the window's
// X drawable. (A screen device context would do the same on paper, but on
// GTK 3 it keeps returning its first copy of the screen for the rest of the
// process.)
wxImage capture_window(wxWindow *window)
{
    pump_once();
    const wxSize size = window->GetClientSize();
    wxBitmap shot(std::max(size.x, 1), std::max(size.y, 1), 24);
    {
        wxClientDC on_screen(window);
        wxMemoryDC memory(shot);
        memory.Blit(0, 0, size.x, size.y, &on_screen, 0, 0);
    }
    return shot.ConvertToImage();
}

bool send_mouse(wxWindow *window, wxEventType type, const wxPoint &position, int modifiers)
{
    wxMouseEvent event = mouse_event(window, type, position, modifiers);
    set_button_state(event, type);
    return window->HandleWindowEvent(event);
}

bool send_wheel(wxWindow *window, const wxPoint &position, int rotation, wxMouseWheelAxis axis)
{
    wxMouseEvent event = mouse_event(window, wxEVT_MOUSEWHEEL, position, wxMOD_NONE);
    event.m_wheelRotation = rotation;
    event.m_wheelDelta = WHEEL_DELTA;
    event.m_linesPerAction = WHEEL_LINES_PER_ACTION;
    event.m_wheelAxis = axis;
    return window->HandleWindowEvent(event);
}

bool send_key(wxWindow *window, wxEventType type, int key_code, int modifiers, wxChar character)
{
    wxKeyEvent event(type);
    event.SetEventObject(window);
    event.SetId(window->GetId());
    event.m_keyCode = key_code;
    event.m_uniChar = character;
    set_modifiers(event, modifiers);
    return window->HandleWindowEvent(event);
}

}
