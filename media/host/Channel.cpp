#include "media/host/Channel.h"

#include <cerrno>
#include <glib-unix.h>
#include <sys/socket.h>
#include <unistd.h>

Channel::Channel(int fd, std::function<void(std::string_view)> onLine,
                 std::function<void()> onClosed)
    : fd_(fd), onLine_(std::move(onLine)), onClosed_(std::move(onClosed)) {
    source_ = g_unix_fd_add(fd_, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                            reinterpret_cast<GUnixFDSourceFunc>(&Channel::onReadable), this);
}

Channel::~Channel() {
    if (source_) g_source_remove(source_);
}

int Channel::onReadable(int, unsigned, void* self) {
    auto* channel = static_cast<Channel*>(self);
    if (channel->readSome()) return G_SOURCE_CONTINUE;
    channel->source_ = 0;
    channel->onClosed_();
    return G_SOURCE_REMOVE;
}

bool Channel::readSome() {
    char chunk[4096];
    const ssize_t got = read(fd_, chunk, sizeof chunk);
    if (got < 0) return errno == EINTR || errno == EAGAIN;
    if (got == 0) return false;
    buffer_.append(chunk, static_cast<std::size_t>(got));
    while (auto line = buffer_.nextLine())
        onLine_(*line);
    return !buffer_.overflowed();
}

void Channel::send(const std::string& line) {
    const std::string data = line + '\n';
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t put = ::send(fd_, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) _exit(0);
        done += static_cast<std::size_t>(put);
    }
}
