#pragma once
// One media host seen from the program: starting it, bounded talks over its
// socket, and ending it. A host is always ended with SIGKILL and reaped:
// the program never waits on a host beyond the bound it was given.

#include "media/protocol/HostProtocol.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

class HostProcess {
public:
    using Clock = std::chrono::steady_clock;

    // Starts a host next to the program; nullptr when that is impossible.
    static std::unique_ptr<HostProcess> start();
    // Ends every host of this process at once (for the last moments of the program).
    static void endAll();
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    enum class Outcome { Reply, Died, TimedOut };
    struct Reply {
        std::uint64_t id = 0;
        bool ok = false;
        std::vector<std::string> values;                             // after "ok"
        hostproto::Failure failure = hostproto::Failure::BadRequest; // after "err"
    };
    // Notices are kept as their words after "n".
    using Notice = std::vector<std::string>;

    // Sends one request and waits for its answer at most `bound`.
    Outcome request(const std::string& request, std::chrono::milliseconds bound, Reply& reply);
    // Waits at most `bound` for a notice that `wanted` accepts (it stays queued).
    Outcome waitNotice(const std::function<bool(const Notice&)>& wanted,
                       std::chrono::milliseconds bound);
    // Reads what has arrived, without waiting; false once the host is gone.
    bool readAvailable();
    std::vector<Notice> takeNotices();

    int fd() const { return fd_; }
    pid_t pid() const { return pid_; }
    Clock::time_point lastHeard() const { return lastHeard_; }
    int opens() const { return opens_; }
    void countOpen() { ++opens_; }

private:
    HostProcess(pid_t pid, int fd);
    bool sendLine(const std::string& line, Clock::time_point deadline);
    // Reads once, waiting until the deadline; Reply here means "got data".
    Outcome readOnce(Clock::time_point deadline);
    void takeLines();

    pid_t pid_;
    int fd_;
    bool gone_ = false;
    std::uint64_t nextId_ = 1;
    hostproto::LineBuffer buffer_;
    std::vector<std::string> replies_;
    std::vector<Notice> notices_;
    Clock::time_point lastHeard_;
    int opens_ = 0;
};
