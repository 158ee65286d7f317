#ifndef VUSK_SOUND_NAMES_H
#define VUSK_SOUND_NAMES_H

// Sound names from the server and the files under the configuration
// directory that they stand for.

#include <string>

// A name the server may ask for: letters, digits, '_', '-', '.' and '/'
// only, no "..", no leading '/', no empty component, no first component
// "custom" (the pack path would be the player's own file), and short enough that
// its pack path (sound_pack_path) stays under 100 characters. Anything else
// is refused before it touches the file system.
bool is_valid_sound_name(const char *name);

// "soundpack/" + name + ".ogg": the pack's copy of the effect, which is also
// its download path and the key of its version record.
std::string sound_pack_path(const std::string &name);
// Whether path is the pack path of a name the server may ask for: no other
// path can ever be looked up, and none of its characters needs escaping in
// an XML file.
bool is_sound_pack_path(const std::string &path);
// "soundpack/custom/" + the name after its last '/' + ".ogg": the player's
// own replacement.
std::string custom_sound_path(const std::string &name);

#endif
