#pragma once
// The host's end of the pipe to the media layer: whole request lines in,
// reply and notice lines out, served by the GLib main loop.

#include "media/protocol/HostProtocol.h"

#include <functional>
#include <string>
#include <string_view>

class Channel {
public:
    Channel(int fd, std::function<void(std::string_view)> onLine, std::function<void()> onClosed);
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // Writes one line; a program that is gone ends the host.
    void send(const std::string& line);

private:
    static int onReadable(int fd, unsigned condition, void* self);
    bool readSome();

    int fd_;
    unsigned source_ = 0;
    hostproto::LineBuffer buffer_;
    std::function<void(std::string_view)> onLine_;
    std::function<void()> onClosed_;
};
