#include "media/host/Sinks.h"

#include <cstdlib>
#include <glob.h>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool socketAnswers(const std::string& path) {
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) return false;
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

// The address of a PulseAudio server (or the PipeWire that stands in for
// it) that answers. Found here, where the client library would look, rather
// than by the library: that one would start a server of its own or create
// files in the home folder when none runs.
std::optional<std::string> pulseServer() {
    if (const auto given = environment("PULSE_SERVER"); !given.empty()) {
        const bool local = given.rfind("unix:", 0) == 0 || given[0] == '/';
        if (!local) return given; // a remote or listed server: the library decides
        const std::string path = given[0] == '/' ? given : given.substr(5);
        if (socketAnswers(path)) return given;
        return std::nullopt;
    }
    std::vector<std::string> candidates;
    if (const auto path = environment("PULSE_RUNTIME_PATH"); !path.empty())
        candidates.push_back(path + "/native");
    if (const auto path = environment("XDG_RUNTIME_DIR"); !path.empty())
        candidates.push_back(path + "/pulse/native");
    candidates.push_back("/run/user/" + std::to_string(getuid()) + "/pulse/native");
    if (const auto home = environment("HOME"); !home.empty()) {
        glob_t found{};
        if (glob((home + "/.config/pulse/*-runtime/native").c_str(), 0, nullptr, &found) == 0)
            for (std::size_t i = 0; i < found.gl_pathc; ++i)
                candidates.push_back(found.gl_pathv[i]);
        globfree(&found);
    }
    candidates.push_back("/var/run/pulse/native");
    for (const auto& path : candidates)
        if (socketAnswers(path)) return "unix:" + path;
    return std::nullopt;
}

bool soundCardPresent() {
    glob_t found{};
    const bool present = glob("/dev/snd/pcmC*D*p", 0, nullptr, &found) == 0 && found.gl_pathc > 0;
    globfree(&found);
    return present;
}

GstElement* realTimeFakeSink() {
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", TRUE, nullptr);
    return sink;
}

// An element that cannot reach its device fails going to READY; trying it
// here lets the pipeline fall back instead of failing the open.
GstElement* usable(GstElement* sink) {
    if (!sink) return nullptr;
    if (gst_element_set_state(sink, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
        gst_element_set_state(sink, GST_STATE_NULL);
        gst_object_unref(gst_object_ref_sink(sink));
        return nullptr;
    }
    return sink;
}

} // namespace

GstElement* makeAudioSink() {
    if (const auto server = pulseServer()) {
        GstElement* pulse = gst_element_factory_make("pulsesink", nullptr);
        if (pulse) {
            g_object_set(pulse, "server", server->c_str(), nullptr);
            // 1 s of buffer filled in 100 ms periods: ten wake-ups a second
            // instead of a hundred. Pause and stop cork the stream, which is
            // silent at once whatever is buffered.
            g_object_set(pulse, "buffer-time", static_cast<gint64>(1000000), "latency-time",
                         static_cast<gint64>(100000), "client-name", "Лунограй", nullptr);
            if (GstElement* sink = usable(pulse)) return sink;
        }
    }
    if (soundCardPresent()) {
        if (GstElement* alsa = gst_element_factory_make("alsasink", nullptr)) {
            g_object_set(alsa, "buffer-time", static_cast<gint64>(1000000), "latency-time",
                         static_cast<gint64>(100000), nullptr);
            if (GstElement* sink = usable(alsa)) return sink;
        }
    }
    return realTimeFakeSink();
}

GstElement* makeVideoSink(bool displayAllowed) {
    // Named sinks, not autovideosink: once every display sink has failed,
    // that one goes on to DirectFB, whose start-up ends the whole process.
    std::vector<const char*> candidates;
    if (displayAllowed && !environment("WAYLAND_DISPLAY").empty())
        candidates.push_back("waylandsink");
    if (displayAllowed && !environment("DISPLAY").empty()) {
        candidates.push_back("xvimagesink");
        candidates.push_back("ximagesink");
    }
    for (const char* name : candidates)
        if (GstElement* sink = usable(gst_element_factory_make(name, nullptr))) return sink;
    return realTimeFakeSink();
}

const char* midiSoundfont() {
    static const std::string chosen = [] {
        for (const char* path :
             {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2"}) {
            struct stat info {};
            if (stat(path, &info) == 0 && S_ISREG(info.st_mode)) return std::string(path);
        }
        glob_t found{};
        std::string any;
        if (glob("/usr/share/sounds/sf2/*.sf2", 0, nullptr, &found) == 0 && found.gl_pathc > 0)
            any = found.gl_pathv[0];
        globfree(&found);
        return any;
    }();
    return chosen.empty() ? nullptr : chosen.c_str();
}
