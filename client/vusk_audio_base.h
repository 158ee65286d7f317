#ifndef VUSK_AUDIO_BASE_H
#define VUSK_AUDIO_BASE_H

// A sound in play, and the mixer that sums every sound into the output.
// Whoever wants a sound creates one with new and forgets it: from then on the
// sound system owns it. The audio thread fetches its samples until it ends;
// it then waits on the delete list until the GUI thread frees it.
//
// Threads: the GUI thread creates and frees objects (add_global,
// clear_queues); the audio thread runs the mixer (fetch_channel_data).
// Lock order: play_mutex before delete_mutex. Only the mixer holds both, and
// the GUI thread never holds either while it frees objects, so the audio
// thread never waits on long work.

#include <atomic>
#include <mutex>

class vusk_audio_object {
public:
    vusk_audio_object() = default;
    vusk_audio_object(const vusk_audio_object &) = delete;
    vusk_audio_object &operator=(const vusk_audio_object &) = delete;

    // Writes the next left and right sample; 0 when this was the last call.
    // Runs on the audio thread only, under the mixer's lock.
    virtual int fetch_data(short *left, short *right) = 0;
    virtual ~vusk_audio_object() = default;

    // Takes over a new object: every concrete sound calls it as the last step
    // of its constructor. While output is off, or when too many sounds play
    // already, the object never plays and is freed like a finished one.
    static void add_global(vusk_audio_object *object);
    // Frees the finished objects, and every object while output is off.
    static void clear_queues();
    // Mixes one output frame: the clamped sums of every playing sound.
    static void fetch_channel_data(short *left, short *right);
    static int playing_count();

    // A flood of sound requests must not grow the mixer's work without bound.
    static constexpr int max_playing = 64;

    // 1 while output is switched on.
    static std::atomic<int> global_audio_enabled;
    // 1 from a stream start until its first callback has run.
    static std::atomic<int> global_audio_starting;

private:
    static void push(vusk_audio_object *&list, vusk_audio_object *object);
    static bool start_playing(vusk_audio_object *object);
    static void retire(vusk_audio_object *object);
    static vusk_audio_object *take_play_list();
    static vusk_audio_object *take_delete_list();
    // Frees every object of a list no other thread can reach any more.
    static void clear_queue(vusk_audio_object **list);

    vusk_audio_object *next = nullptr;

    // Newest first; guarded by play_mutex, as is playing_objects.
    static vusk_audio_object *global_audio_play_list;
    static int playing_objects;
    // Most recently finished first; guarded by delete_mutex.
    static vusk_audio_object *global_audio_delete_list;
    static std::mutex play_mutex;
    static std::mutex delete_mutex;
};

#endif
