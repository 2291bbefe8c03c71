#include "media/HostProcess.h"

#include "media/HostLocator.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// Every host this process started and has not reaped yet. Never destroyed:
// it is still needed by the exit handler that ends the hosts.
std::set<pid_t>& liveHosts() {
    static auto* hosts = new std::set<pid_t>;
    return *hosts;
}

// A killed process is normally gone within a millisecond; one stuck in the
// kernel is left for a later attempt rather than holding up the program.
void reap(pid_t pid, std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const pid_t done = waitpid(pid, nullptr, WNOHANG);
        if (done == pid || (done < 0 && errno == ECHILD)) {
            liveHosts().erase(pid);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) return;
        std::this_thread::sleep_for(200us);
    }
}

void reapLeftovers() {
    const std::set<pid_t> hosts = liveHosts();
    for (pid_t pid : hosts) {
        const pid_t done = waitpid(pid, nullptr, WNOHANG);
        if (done == pid || (done < 0 && errno == ECHILD)) liveHosts().erase(pid);
    }
}

int remainingMs(HostProcess::Clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - HostProcess::Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

std::unique_ptr<HostProcess> HostProcess::start() {
    reapLeftovers();
    const std::string executable = mediaHostExecutable();
    if (executable.empty()) return nullptr;
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return nullptr;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    // The host starts with no blocked signals and default handlers, whatever
    // the program set up for itself.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGCHLD, SIGPIPE, SIGUSR1, SIGUSR2})
        sigaddset(&defaults, sig);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    const std::string parent = std::to_string(getpid());
    char* argv[] = {const_cast<char*>(executable.c_str()), const_cast<char*>(parent.c_str()),
                    nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, executable.c_str(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(ends[1]);
    if (spawned != 0) {
        close(ends[0]);
        return nullptr;
    }
    liveHosts().insert(pid);
    fcntl(ends[0], F_SETFL, fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    return std::unique_ptr<HostProcess>(new HostProcess(pid, ends[0]));
}

void HostProcess::endAll() {
    for (pid_t pid : liveHosts())
        kill(pid, SIGKILL);
    const std::set<pid_t> hosts = liveHosts();
    for (pid_t pid : hosts)
        reap(pid, 500ms);
}

HostProcess::HostProcess(pid_t pid, int fd) : pid_(pid), fd_(fd), lastHeard_(Clock::now()) {}

HostProcess::~HostProcess() {
    // Ending a host is always a kill: a host asked to quit might be stuck in
    // a broken pipeline, and its sound must stop now.
    kill(pid_, SIGKILL);
    close(fd_);
    reap(pid_, 1000ms);
}

bool HostProcess::sendLine(const std::string& line, Clock::time_point deadline) {
    const std::string data = line + '\n';
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t put = send(fd_, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR) continue;
        if (put < 0 && errno == EAGAIN) {
            pollfd p{fd_, POLLOUT, 0};
            if (poll(&p, 1, remainingMs(deadline)) <= 0) return false;
            continue;
        }
        gone_ = true;
        return false;
    }
    return true;
}

HostProcess::Outcome HostProcess::readOnce(Clock::time_point deadline) {
    if (gone_) return Outcome::Died;
    for (;;) {
        char chunk[4096];
        const ssize_t got = read(fd_, chunk, sizeof chunk);
        if (got > 0) {
            lastHeard_ = Clock::now();
            buffer_.append(chunk, static_cast<std::size_t>(got));
            takeLines();
            if (buffer_.overflowed()) gone_ = true;
            return gone_ ? Outcome::Died : Outcome::Reply;
        }
        if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            gone_ = true;
            return Outcome::Died;
        }
        if (errno == EINTR) continue;
        pollfd p{fd_, POLLIN, 0};
        const int ready = poll(&p, 1, remainingMs(deadline));
        if (ready == 0) return Outcome::TimedOut;
        if (ready < 0 && errno != EINTR) return Outcome::TimedOut;
    }
}

void HostProcess::takeLines() {
    while (auto line = buffer_.nextLine()) {
        auto words = hostproto::splitWords(*line);
        if (words.size() >= 2 && words[0] == "n")
            notices_.emplace_back(words.begin() + 1, words.end());
        else if (words.size() >= 3 && words[0] == "r")
            replies_.push_back(*line);
    }
}

bool HostProcess::readAvailable() {
    while (readOnce(Clock::now()) == Outcome::Reply) {
    }
    return !gone_;
}

std::vector<HostProcess::Notice> HostProcess::takeNotices() {
    return std::exchange(notices_, {});
}

HostProcess::Outcome HostProcess::request(const std::string& request,
                                          std::chrono::milliseconds bound, Reply& reply) {
    const auto deadline = Clock::now() + bound;
    const std::uint64_t id = nextId_++;
    replies_.clear();
    if (!sendLine(std::to_string(id) + ' ' + request, deadline))
        return gone_ ? Outcome::Died : Outcome::TimedOut;
    for (;;) {
        for (const auto& line : replies_) {
            const auto words = hostproto::splitWords(line);
            if (hostproto::parseNumber(words[1]) != static_cast<std::int64_t>(id)) continue;
            reply = Reply{};
            reply.id = id;
            reply.ok = words[2] == "ok";
            if (reply.ok) {
                for (std::size_t i = 3; i < words.size(); ++i)
                    reply.values.emplace_back(words[i]);
            } else if (words.size() > 3) {
                reply.failure =
                    hostproto::failureFromWord(words[3]).value_or(hostproto::Failure::BadRequest);
            }
            replies_.clear();
            return Outcome::Reply;
        }
        replies_.clear();
        if (const Outcome got = readOnce(deadline); got != Outcome::Reply) return got;
    }
}

HostProcess::Outcome HostProcess::waitNotice(const std::function<bool(const Notice&)>& wanted,
                                             std::chrono::milliseconds bound) {
    const auto deadline = Clock::now() + bound;
    for (;;) {
        for (const auto& notice : notices_)
            if (wanted(notice)) return Outcome::Reply;
        if (const Outcome got = readOnce(deadline); got != Outcome::Reply) return got;
    }
}
