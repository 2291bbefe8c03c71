// lunohrai-media-host: runs the GStreamer pipeline of one open device of the
// media layer, so that a damaged file can only ever end this process.
// Started by the layer with the protocol channel on stdin/stdout and the
// program's process id as its argument; ends when the channel closes.

#include "media/host/Channel.h"
#include "media/host/Decoders.h"
#include "media/host/Player.h"
#include "media/host/ProcessSetup.h"

#include <cstdlib>
#include <gst/gst.h>
#include <unistd.h>

int main(int argc, char** argv) {
    const pid_t parent = argc > 1 ? static_cast<pid_t>(std::atol(argv[1])) : getppid();
    const int fd = takeProtocolChannel(parent);
    chooseRegistryCache();
    keepSoundServerFilesOutOfHome();
    g_set_prgname("lunohrai-media-host");
    // The title of a video's own window.
    g_set_application_name("Лунограй");
    gst_init(nullptr, nullptr);
    preferLightDecoders();

    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    Player* player = nullptr;
    Channel channel(
        fd, [&](std::string_view line) { player->handle(line); }, [&] { g_main_loop_quit(loop); });
    Player device(channel);
    player = &device;
    g_main_loop_run(loop);
    // The layer closed the channel (or is gone). Leave without tearing the
    // pipeline down: with a broken stream that can hang, and the sound
    // stops with the process anyway.
    _exit(0);
}
