#include "vusk_audio_base.h"

namespace {
constexpr int sample_max = 32767;
// Not -32768: the output stays symmetric around silence.
constexpr int sample_min = -32767;

short clamp_sample(int sum)
{
    if (sum < sample_min)
        return sample_min;
    if (sum > sample_max)
        return sample_max;
    return static_cast<short>(sum);
}
}

std::atomic<int> vusk_audio_object::global_audio_enabled{0};
std::atomic<int> vusk_audio_object::global_audio_starting{0};
vusk_audio_object *vusk_audio_object::global_audio_play_list = nullptr;
int vusk_audio_object::playing_objects = 0;
vusk_audio_object *vusk_audio_object::global_audio_delete_list = nullptr;
std::mutex vusk_audio_object::play_mutex;
std::mutex vusk_audio_object::delete_mutex;

void vusk_audio_object::push(vusk_audio_object *&list, vusk_audio_object *object)
{
    object->next = list;
    list = object;
}

void vusk_audio_object::add_global(vusk_audio_object *object)
{
    clear_queues();
    if (global_audio_enabled && start_playing(object))
        return;
    std::lock_guard<std::mutex> lock(delete_mutex);
    push(global_audio_delete_list, object);
}

bool vusk_audio_object::start_playing(vusk_audio_object *object)
{
    std::lock_guard<std::mutex> lock(play_mutex);
    if (playing_objects >= max_playing)
        return false;
    push(global_audio_play_list, object);
    ++playing_objects;
    return true;
}

void vusk_audio_object::retire(vusk_audio_object *object)
{
    std::lock_guard<std::mutex> lock(delete_mutex);
    push(global_audio_delete_list, object);
}

vusk_audio_object *vusk_audio_object::take_play_list()
{
    std::lock_guard<std::mutex> lock(play_mutex);
    vusk_audio_object *list = global_audio_play_list;
    global_audio_play_list = nullptr;
    playing_objects = 0;
    return list;
}

vusk_audio_object *vusk_audio_object::take_delete_list()
{
    std::lock_guard<std::mutex> lock(delete_mutex);
    vusk_audio_object *list = global_audio_delete_list;
    global_audio_delete_list = nullptr;
    return list;
}

void vusk_audio_object::clear_queues()
{
    if (!global_audio_enabled) {
        vusk_audio_object *stopped = take_play_list();
        clear_queue(&stopped);
    }
    vusk_audio_object *finished = take_delete_list();
    clear_queue(&finished);
}

void vusk_audio_object::clear_queue(vusk_audio_object **list)
{
    while (vusk_audio_object *object = *list) {
        *list = object->next;
        delete object;
    }
}

void vusk_audio_object::fetch_channel_data(short *left, short *right)
{
    int sum_left = 0;
    int sum_right = 0;
    {
        std::lock_guard<std::mutex> lock(play_mutex);
        vusk_audio_object **link = &global_audio_play_list;
        while (vusk_audio_object *object = *link) {
            // An object that writes nothing adds silence; the last sample of
            // one that finishes is still heard.
            short object_left = 0;
            short object_right = 0;
            const int more = object->fetch_data(&object_left, &object_right);
            sum_left += object_left;
            sum_right += object_right;
            if (more) {
                link = &object->next;
                continue;
            }
            *link = object->next;
            --playing_objects;
            retire(object);
        }
    }
    *left = clamp_sample(sum_left);
    *right = clamp_sample(sum_right);
}

int vusk_audio_object::playing_count()
{
    std::lock_guard<std::mutex> lock(play_mutex);
    return playing_objects;
}
