#include "media/MciLayer.h"

#include "media/DeviceTypes.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

using hostproto::Failure;

namespace {

using namespace std::chrono_literals;

MciLayer* running = nullptr;
// A warm host serves the next open at once; after this many files it is
// replaced, so whatever GStreamer keeps per file cannot pile up.
constexpr int opensPerHost = 200;

MCIERROR errorFor(Failure failure, bool extensionClaimed) {
    switch (failure) {
    case Failure::NotFound:
        return MCIERR_FILE_NOT_FOUND;
    case Failure::CannotRead:
        return MCIERR_FILE_READ;
    case Failure::NotMedia:
        return extensionClaimed ? MCIERR_INVALID_FILE : MCIERR_UNKNOWN_DEVICE_TYPE;
    case Failure::NoDecoder:
        return MCIERR_NO_DECODER;
    case Failure::OutOfRange:
        return MCIERR_OUTOFRANGE;
    case Failure::Playback:
    case Failure::Stalled:
        return MCIERR_PLAYBACK_FAILED;
    case Failure::BadRequest:
        break;
    }
    return MCIERR_NONAPPLICABLE_FUNCTION;
}

// What the file system says before any host is asked: the common failures
// answer at once, and a host never waits on something that is not a file.
MCIERROR checkFile(const std::string& path) {
    if (path.find('\0') != std::string::npos) return MCIERR_FILE_NOT_FOUND;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return errno == EACCES ? MCIERR_FILE_READ : MCIERR_FILE_NOT_FOUND;
    if (!S_ISREG(info.st_mode)) return MCIERR_INVALID_FILE;
    if (access(path.c_str(), R_OK) != 0) return MCIERR_FILE_READ;
    if (info.st_size == 0) return MCIERR_INVALID_FILE;
    return MCIERR_NONE;
}

std::string absolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char* cwd = getcwd(nullptr, 0);
    if (!cwd) return path;
    std::string absolute = std::string(cwd) + '/' + path;
    std::free(cwd);
    return absolute;
}

std::uint32_t number(const std::vector<std::string>& values, std::size_t i) {
    if (i >= values.size()) return 0;
    const auto value = hostproto::parseNumber(values[i]);
    return value && *value > 0
               ? static_cast<std::uint32_t>(std::min<std::int64_t>(*value, UINT32_MAX))
               : 0;
}

} // namespace

// --- lifetime ----------------------------------------------------------------

MciNotifyTarget::~MciNotifyTarget() {
    if (MciLayer* layer = MciLayer::existing()) layer->forgetTarget(this);
}

void MciLayer::forgetTarget(const MciNotifyTarget* target) {
    notices_.forget(target);
    for (auto& [id, device] : devices_)
        if (device.pending && device.pending->target == target) device.pending.reset();
}

MciLayer& MciLayer::instance() {
    if (!running) {
        running = new MciLayer;
        // Hosts end with the program: with the application object when there
        // is one, else at exit; the hosts also die with the process itself.
        if (QCoreApplication::instance()) qAddPostRoutine(&MciLayer::shutdown);
        static const bool atExit = (std::atexit([] { HostProcess::endAll(); }), true);
        (void)atExit;
    }
    return *running;
}

MciLayer* MciLayer::existing() {
    return running;
}

void MciLayer::shutdown() {
    delete std::exchange(running, nullptr);
}

MciLayer::MciLayer() : thread_(QThread::currentThread()) {
    watchdog_.setInterval(500ms);
    QObject::connect(&watchdog_, &QTimer::timeout, &context_, [this] { watch(); });
}

MciLayer::~MciLayer() {
    watchdog_.stop();
    devices_.clear();
    spare_.reset();
    HostProcess::endAll();
}

bool MciLayer::onOwnThread() const {
    return QThread::currentThread() == thread_;
}

namespace {
// The watcher whose signal is being delivered: it must outlive its delivery.
QSocketNotifier* watcherInSignal = nullptr;
} // namespace

void MciLayer::WatcherDeleter::operator()(QSocketNotifier* watcher) const {
    watcher->setEnabled(false);
    if (watcher == watcherInSignal)
        watcher->deleteLater();
    else
        delete watcher;
}

pid_t MciLayer::hostOf(MCIDEVICEID id) const {
    const auto it = devices_.find(id);
    return it != devices_.end() && it->second.host ? it->second.host->pid() : 0;
}

MciLayer::Device* MciLayer::find(MCIDEVICEID id) {
    const auto it = devices_.find(id);
    return it == devices_.end() ? nullptr : &it->second;
}

// --- hosts ---------------------------------------------------------------------

std::unique_ptr<HostProcess> MciLayer::takeHost() {
    if (spare_ && spare_->readAvailable()) return std::move(spare_);
    spare_.reset();
    return HostProcess::start();
}

void MciLayer::keepSpare(std::unique_ptr<HostProcess> host) {
    if (!spare_ && host && host->opens() < opensPerHost) spare_ = std::move(host);
}

void MciLayer::ensureSpare() {
    if (!spare_) spare_ = HostProcess::start();
}

// --- requests ------------------------------------------------------------------

MCIERROR MciLayer::open(MciFlags flags, MciOpenParms& parms) {
    parms.deviceId = 0;
    if (!(flags & MCI_OPEN_ELEMENT) || parms.elementName.empty()) return MCIERR_MISSING_PARAMETER;
    const std::string path = absolutePath(parms.elementName);
    DeviceChoice choice = deviceForFile(path);
    if (flags & MCI_OPEN_TYPE) {
        const auto named = deviceTypeNamed(parms.deviceType);
        if (!named) return MCIERR_UNKNOWN_DEVICE_TYPE;
        choice = {*named, true};
    }
    if (const MCIERROR error = checkFile(path)) return error;

    std::unique_ptr<HostProcess> host = takeHost();
    if (!host) return MCIERR_HOST_NOT_STARTED;
    host->countOpen();
    HostProcess::Reply reply;
    const auto outcome = host->request("open " + hostproto::hexEncode(path) +
                                           (deviceShowsVideo(choice.type) ? " 1" : " 0"),
                                       openBound, reply);
    if (outcome != HostProcess::Outcome::Reply || !reply.ok) {
        // A host whose open failed is ended: a broken pipeline may still be
        // busy in it. A fresh one starts at once for the next open.
        host.reset();
        ensureSpare();
        if (outcome == HostProcess::Outcome::Died) return MCIERR_HOST_DIED;
        if (outcome == HostProcess::Outcome::TimedOut) return MCIERR_TIMEOUT;
        return errorFor(reply.failure, choice.claimed);
    }

    const MCIDEVICEID id = nextId_++;
    Device& device = devices_[id];
    device.type = choice.type;
    device.hasVideo = number(reply.values, 1) != 0;
    device.hasAudio = number(reply.values, 2) != 0;
    device.watcher.reset(new QSocketNotifier(host->fd(), QSocketNotifier::Read, &context_));
    QSocketNotifier* watcher = device.watcher.get();
    QObject::connect(watcher, &QSocketNotifier::activated, &context_, [this, id, watcher] {
        watcherInSignal = watcher;
        onReadable(id);
        watcherInSignal = nullptr;
    });
    device.host = std::move(host);
    parms.deviceId = id;
    notifyDone(id, flags, parms.callback);
    return MCIERR_NONE;
}

MCIERROR MciLayer::close(MCIDEVICEID id, MciFlags flags, MciNotifyTarget* callback) {
    Device* device = find(id);
    if (!device) return MCIERR_INVALID_DEVICE_ID;
    endPending(id, *device, MCI_NOTIFY_ABORTED);
    if (device->host) {
        device->watcher.reset();
        HostProcess::Reply reply;
        const auto outcome = device->host->request("close", requestBound, reply);
        // A host that closed cleanly waits for the next open; any other is
        // ended. Either way the device is closed and its sound has stopped.
        if (outcome == HostProcess::Outcome::Reply && reply.ok) keepSpare(std::move(device->host));
    }
    devices_.erase(id);
    updateWatchdog();
    notifyDone(id, flags, callback);
    return MCIERR_NONE;
}

MCIERROR MciLayer::play(MCIDEVICEID id, MciFlags flags, MciPlayParms& parms) {
    Device* device = find(id);
    if (!device) return MCIERR_INVALID_DEVICE_ID;
    if (device->failure) return device->failure;
    const bool moves = flags & (MCI_FROM | MCI_TO);
    if (moves || device->mode != MCI_MODE_PLAY)
        endPending(id, *device, MCI_NOTIFY_ABORTED);
    else if (flags & MCI_NOTIFY)
        endPending(id, *device, MCI_NOTIFY_SUPERSEDED);

    const std::string from = (flags & MCI_FROM) ? std::to_string(parms.from) : "-1";
    const std::string to = (flags & MCI_TO) ? std::to_string(parms.to) : "-1";
    HostProcess::Reply reply;
    if (const MCIERROR error = ask(id, *device, "play " + from + ' ' + to, reply)) {
        takeNotices(id, *device);
        return error;
    }
    device->mode = MCI_MODE_PLAY;
    device->lastPlayId = reply.id;
    if (flags & MCI_NOTIFY) device->pending = PendingNotice{parms.callback, reply.id};
    updateWatchdog();
    // The host may already have reported the end (nothing left to play).
    takeNotices(id, *device);
    if (flags & MCI_WAIT) return waitForEnd(id, *device, reply.id);
    return MCIERR_NONE;
}

MCIERROR MciLayer::waitForEnd(MCIDEVICEID id, Device& device, std::uint64_t playId) {
    HostProcess::Reply reply;
    if (const MCIERROR error = ask(id, device, "status", reply)) return error;
    takeNotices(id, device);
    const auto remaining = std::chrono::milliseconds(number(reply.values, 2)) -
                           std::chrono::milliseconds(number(reply.values, 1));
    const auto deadline = HostProcess::Clock::now() + remaining + requestBound;
    const std::string wanted = std::to_string(playId);
    for (;;) {
        if (!device.host) return device.failure;
        if (device.lastPlayId != playId || device.mode != MCI_MODE_PLAY) return MCIERR_NONE;
        const auto outcome = device.host->waitNotice(
            [&](const HostProcess::Notice& n) {
                return n[0] == "end" && n.size() > 1 && n[1] == wanted;
            },
            500ms);
        if (outcome == HostProcess::Outcome::Died) {
            failDevice(id, device, MCIERR_HOST_DIED);
            return MCIERR_HOST_DIED;
        }
        takeNotices(id, device);
        if (!device.host) return device.failure;
        if (HostProcess::Clock::now() - device.host->lastHeard() > silenceBound) {
            failDevice(id, device, MCIERR_TIMEOUT);
            return MCIERR_TIMEOUT;
        }
        if (HostProcess::Clock::now() > deadline) return MCIERR_TIMEOUT;
    }
}

MCIERROR MciLayer::resume(MCIDEVICEID id, MciFlags flags, MciNotifyTarget* callback) {
    Device* device = find(id);
    if (!device) return MCIERR_INVALID_DEVICE_ID;
    if (device->failure) return device->failure;
    // Resume goes on with a paused play; a stopped device has none to go on with.
    if (device->mode == MCI_MODE_STOP) return MCIERR_NONAPPLICABLE_FUNCTION;
    MciPlayParms parms;
    parms.callback = callback;
    return play(id, flags, parms);
}

MCIERROR MciLayer::halt(MCIDEVICEID id, MciFlags flags, MciNotifyTarget* callback, MciMode mode) {
    Device* device = find(id);
    if (!device) return MCIERR_INVALID_DEVICE_ID;
    if (device->failure) return device->failure;
    endPending(id, *device, MCI_NOTIFY_ABORTED);
    HostProcess::Reply reply;
    if (const MCIERROR error = ask(id, *device, mode == MCI_MODE_PAUSE ? "pause" : "stop", reply))
        return error;
    device->mode = mode;
    updateWatchdog();
    takeNotices(id, *device);
    notifyDone(id, flags, callback);
    return MCIERR_NONE;
}

MCIERROR MciLayer::seek(MCIDEVICEID id, MciFlags flags, MciSeekParms& parms) {
    Device* device = find(id);
    if (!device) return MCIERR_INVALID_DEVICE_ID;
    const MciFlags targets = flags & (MCI_SEEK_TO_START | MCI_SEEK_TO_END | MCI_TO);
    if (!targets) return MCIERR_MISSING_PARAMETER;
    if (targets != MCI_SEEK_TO_START && targets != MCI_SEEK_TO_END && targets != MCI_TO)
        return MCIERR_FLAGS_NOT_COMPATIBLE;
    if (device->failure) return device->failure;
    endPending(id, *device, MCI_NOTIFY_ABORTED);
    const std::string target = targets == MCI_SEEK_TO_START ? "0"
                               : targets == MCI_SEEK_TO_END ? "end"
                                                            : std::to_string(parms.to);
    HostProcess::Reply reply;
    const MCIERROR error = ask(id, *device, "seek " + target, reply);
    if (device->host) device->mode = MCI_MODE_STOP;
    updateWatchdog();
    takeNotices(id, *device);
    if (error) return error;
    notifyDone(id, flags, parms.callback);
    return MCIERR_NONE;
}

MCIERROR MciLayer::status(MCIDEVICEID id, MciFlags flags, MciStatusParms& parms) {
    Device* device = find(id);
    if (!device) return MCIERR_INVALID_DEVICE_ID;
    if (!(flags & MCI_STATUS_ITEM)) return MCIERR_MISSING_PARAMETER;
    if (parms.item != MCI_STATUS_MODE && parms.item != MCI_STATUS_POSITION &&
        parms.item != MCI_STATUS_LENGTH)
        return MCIERR_BAD_PARAMETERS;
    if (device->failure) return device->failure;
    if (flags & MCI_NOTIFY) endPending(id, *device, MCI_NOTIFY_SUPERSEDED);
    HostProcess::Reply reply;
    if (const MCIERROR error = ask(id, *device, "status", reply)) return error;
    takeNotices(id, *device);
    const auto mode = hostproto::modeFromWord(reply.values.empty() ? "" : reply.values[0]);
    if (!mode) return MCIERR_NONAPPLICABLE_FUNCTION;
    // The host knows best: a play may have ended a moment ago.
    device->mode = *mode == hostproto::Mode::Play    ? MCI_MODE_PLAY
                   : *mode == hostproto::Mode::Pause ? MCI_MODE_PAUSE
                                                     : MCI_MODE_STOP;
    switch (parms.item) {
    case MCI_STATUS_MODE:
        parms.result = device->mode;
        break;
    case MCI_STATUS_POSITION:
        parms.result = number(reply.values, 1);
        break;
    case MCI_STATUS_LENGTH:
        parms.result = number(reply.values, 2);
        break;
    }
    notifyDone(id, flags, parms.callback);
    return MCIERR_NONE;
}

MCIERROR MciLayer::capabilities(MCIDEVICEID id, MciFlags flags, MciGetDevCapsParms& parms) {
    Device* device = find(id);
    if (!device) return MCIERR_INVALID_DEVICE_ID;
    if (!(flags & MCI_GETDEVCAPS_ITEM)) return MCIERR_MISSING_PARAMETER;
    if (device->failure) return device->failure;
    switch (parms.item) {
    case MCI_GETDEVCAPS_CAN_PLAY:
        parms.result = device->hasAudio || device->hasVideo;
        break;
    case MCI_GETDEVCAPS_CAN_RECORD:
    case MCI_GETDEVCAPS_CAN_EJECT:
    case MCI_GETDEVCAPS_CAN_SAVE:
        parms.result = 0;
        break;
    case MCI_GETDEVCAPS_HAS_AUDIO:
        parms.result = device->hasAudio;
        break;
    case MCI_GETDEVCAPS_HAS_VIDEO:
        parms.result = device->hasVideo;
        break;
    case MCI_GETDEVCAPS_USES_FILES:
        parms.result = 1;
        break;
    case MCI_GETDEVCAPS_DEVICE_TYPE:
        parms.result = device->type;
        break;
    default:
        return MCIERR_BAD_PARAMETERS;
    }
    if (flags & MCI_NOTIFY) endPending(id, *device, MCI_NOTIFY_SUPERSEDED);
    notifyDone(id, flags, parms.callback);
    return MCIERR_NONE;
}

// --- talking to hosts, notices, failures -----------------------------------

MCIERROR MciLayer::ask(MCIDEVICEID id, Device& device, const std::string& request,
                       HostProcess::Reply& reply) {
    const auto outcome = device.host->request(request, requestBound, reply);
    if (outcome == HostProcess::Outcome::Died) {
        failDevice(id, device, MCIERR_HOST_DIED);
        return MCIERR_HOST_DIED;
    }
    if (outcome == HostProcess::Outcome::TimedOut) {
        failDevice(id, device, MCIERR_TIMEOUT);
        return MCIERR_TIMEOUT;
    }
    // Notices read meanwhile wait for the caller to bring its state up to
    // date first (takeNotices).
    return reply.ok ? MCIERR_NONE : errorFor(reply.failure, true);
}

void MciLayer::endPending(MCIDEVICEID id, Device& device, MciNotifyKind kind) {
    if (!device.pending) return;
    notices_.post(device.pending->target, id, kind);
    device.pending.reset();
}

void MciLayer::notifyDone(MCIDEVICEID id, MciFlags flags, MciNotifyTarget* callback) {
    if (flags & MCI_NOTIFY) notices_.post(callback, id, MCI_NOTIFY_SUCCESSFUL);
}

void MciLayer::failDevice(MCIDEVICEID id, Device& device, MCIERROR reason) {
    device.failure = reason;
    device.mode = MCI_MODE_STOP;
    device.watcher.reset();
    device.host.reset();
    endPending(id, device, MCI_NOTIFY_FAILURE);
    updateWatchdog();
    ensureSpare();
}

void MciLayer::takeNotices(MCIDEVICEID id, Device& device) {
    if (!device.host) return;
    for (const auto& notice : device.host->takeNotices()) {
        if (notice[0] == "end" && notice.size() > 1) {
            const auto playId = hostproto::parseNumber(notice[1]);
            if (!playId || static_cast<std::uint64_t>(*playId) != device.lastPlayId) continue;
            device.mode = MCI_MODE_STOP;
            if (device.pending && device.pending->playId == device.lastPlayId)
                endPending(id, device, MCI_NOTIFY_SUCCESSFUL);
            updateWatchdog();
        } else if (notice[0] == "fail") {
            // A failed pipeline is not trusted to tear down: its host is ended.
            failDevice(id, device, MCIERR_PLAYBACK_FAILED);
            return;
        }
    }
}

void MciLayer::onReadable(MCIDEVICEID id) {
    Device* device = find(id);
    if (!device || !device->host) return;
    if (!device->host->readAvailable()) {
        failDevice(id, *device, MCIERR_HOST_DIED);
        return;
    }
    takeNotices(id, *device);
}

void MciLayer::watch() {
    for (auto& [id, device] : devices_) {
        if (!device.host || device.mode != MCI_MODE_PLAY) continue;
        // What is waiting in the pipe counts: the program may have been
        // busy, not the host.
        if (!device.host->readAvailable()) {
            failDevice(id, device, MCIERR_HOST_DIED);
            continue;
        }
        takeNotices(id, device);
        if (device.host && device.mode == MCI_MODE_PLAY &&
            HostProcess::Clock::now() - device.host->lastHeard() > silenceBound)
            failDevice(id, device, MCIERR_TIMEOUT);
    }
    updateWatchdog();
}

void MciLayer::updateWatchdog() {
    bool anyPlaying = false;
    for (const auto& [id, device] : devices_)
        anyPlaying |= device.host && device.mode == MCI_MODE_PLAY;
    if (anyPlaying && !watchdog_.isActive()) watchdog_.start();
    if (!anyPlaying && watchdog_.isActive()) watchdog_.stop();
}
