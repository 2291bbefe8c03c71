#pragma once
// What the media host does to itself before GStreamer starts.

#include <sys/types.h>

// Ties the host's life to its parent (the program), closes every descriptor
// it inherited by accident, keeps the protocol channel (given on stdin and
// stdout) on a private descriptor and points stdout at stderr, so nothing a
// library prints can break the protocol. Returns the channel's descriptor.
int takeProtocolChannel(pid_t parent);

// Chooses where GStreamer keeps its plugin registry cache: the user's shared
// cache when one exists (every GStreamer program uses it), otherwise a private
// folder in the per-user runtime folder, so the host never creates files in
// the home folder.
void chooseRegistryCache();

// The PulseAudio client library creates a random cookie file in the home
// folder when it finds none; a local server knows its clients by their user
// id and needs no cookie. When the user has none, the library is pointed at
// one in the private runtime folder instead.
void keepSoundServerFilesOutOfHome();
