#include "media/HostLocator.h"

#include <climits>
#include <unistd.h>

std::string mediaHostExecutable() {
    static const std::string found = [] {
        char self[PATH_MAX];
        const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
        if (length <= 0) return std::string();
        std::string folder(self, static_cast<std::size_t>(length));
        folder.erase(folder.rfind('/') + 1);
        for (const char* relative :
             {"lunohrai-media-host", "../libexec/lunohrai/lunohrai-media-host"}) {
            const std::string path = folder + relative;
            if (access(path.c_str(), X_OK) == 0) return path;
        }
        return std::string();
    }();
    return found;
}
