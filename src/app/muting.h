// Muting: M during play, --ticho and the remembered setting; heard in the sound, kept in the
// settings and shown in the window's title.
#pragma once

// Mutes or unmutes, remembers it in the settings and shows it in the title, and in full screen in
// a note over the frame: the one way muting changes after start.
void set_muted(int muted);

// Once per frame: each fresh press of M toggles muting.
void poll_mute_key(void);
