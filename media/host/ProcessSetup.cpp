#include "media/host/ProcessSetup.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

int takeProtocolChannel(pid_t parent) {
    // The host must not outlive the program: killed with it, and gone at
    // once if the program already ended before this line ran.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(0);
    std::signal(SIGPIPE, SIG_IGN);
    // A Ctrl+C in a terminal goes to the whole process group; the program
    // decides when its host ends.
    std::signal(SIGINT, SIG_IGN);

    close_range(3, ~0u, 0);
    const int channel = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    if (channel < 0) _exit(1);
    const int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (null >= 0) {
        dup2(null, STDIN_FILENO);
        close(null);
    }
    dup2(STDERR_FILENO, STDOUT_FILENO);
    return channel;
}

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool hasUserRegistry() {
    std::string cacheHome = environment("XDG_CACHE_HOME");
    if (cacheHome.empty() || cacheHome[0] != '/') {
        const std::string home = environment("HOME");
        if (home.empty()) return false;
        cacheHome = home + "/.cache";
    }
    DIR* dir = opendir((cacheHome + "/gstreamer-1.0").c_str());
    if (!dir) return false;
    bool found = false;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.rfind("registry.", 0) == 0 && name.size() > 4 &&
            name.compare(name.size() - 4, 4, ".bin") == 0)
            found = true;
    }
    closedir(dir);
    return found;
}

// A folder only this user can write to; an existing one is trusted only if
// it is ours and closed to others (the registry names plugin files to load).
bool ensurePrivateFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

} // namespace

std::string privateRuntimeFolder() {
    static const std::string folder = [] {
        const std::string runtime = environment("XDG_RUNTIME_DIR");
        const std::string path = !runtime.empty() && runtime[0] == '/'
                                     ? runtime + "/lunohrai"
                                     : "/tmp/lunohrai-" + std::to_string(getuid());
        return ensurePrivateFolder(path) ? path : std::string();
    }();
    return folder;
}

void chooseRegistryCache() {
    if (!environment("GST_REGISTRY").empty() || hasUserRegistry()) return;
    const std::string folder = privateRuntimeFolder();
    // With no safe place GStreamer reads its plugins afresh each time
    // (slower) and cannot save the cache anywhere.
    setenv("GST_REGISTRY",
           folder.empty() ? "/dev/null/lunohrai-gst-registry.bin"
                          : (folder + "/gst-registry.bin").c_str(),
           1);
}

void keepSoundServerFilesOutOfHome() {
    if (!environment("PULSE_COOKIE").empty()) return;
    std::string config = environment("XDG_CONFIG_HOME");
    const std::string home = environment("HOME");
    if (config.empty() && !home.empty()) config = home + "/.config";
    struct stat info {};
    for (const std::string& cookie : {config + "/pulse/cookie", home + "/.pulse-cookie"})
        if (!cookie.empty() && cookie[0] == '/' && stat(cookie.c_str(), &info) == 0) return;
    const std::string folder = privateRuntimeFolder();
    if (!folder.empty()) setenv("PULSE_COOKIE", (folder + "/pulse-cookie").c_str(), 1);
}
