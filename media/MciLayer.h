#pragma once
// The media layer behind mciSendCommandA: the table of open devices, each
// served by a media host process, the rules of completion notices, and the
// watch over hosts that die or stop answering.

#include "media/HostProcess.h"
#include "media/Mci.h"
#include "media/NoticeQueue.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QSocketNotifier;
class QThread;

class MciLayer {
public:
    // The running layer, started on first use (nothing runs before).
    static MciLayer& instance();
    static MciLayer* existing();
    // Ends every host and the layer itself; the next request starts afresh.
    static void shutdown();
    ~MciLayer();

    MCIERROR open(MciFlags flags, MciOpenParms& parms);
    MCIERROR close(MCIDEVICEID id, MciFlags flags, MciNotifyTarget* callback);
    MCIERROR play(MCIDEVICEID id, MciFlags flags, MciPlayParms& parms);
    MCIERROR resume(MCIDEVICEID id, MciFlags flags, MciNotifyTarget* callback);
    MCIERROR halt(MCIDEVICEID id, MciFlags flags, MciNotifyTarget* callback, MciMode mode);
    MCIERROR seek(MCIDEVICEID id, MciFlags flags, MciSeekParms& parms);
    MCIERROR status(MCIDEVICEID id, MciFlags flags, MciStatusParms& parms);
    MCIERROR capabilities(MCIDEVICEID id, MciFlags flags, MciGetDevCapsParms& parms);

    // A target that goes away gets no more notices: neither those on their
    // way nor those its requests still wait for.
    void forgetTarget(const MciNotifyTarget* target);

    // Requests are served on the thread that started the layer only.
    bool onOwnThread() const;
    // The process id of a device's host (0 for none); for diagnostics.
    pid_t hostOf(MCIDEVICEID id) const;

    static constexpr std::chrono::milliseconds openBound{10000};
    static constexpr std::chrono::milliseconds requestBound{2000};
    // A playing host that sends nothing (it ticks twice a second) for this
    // long is hung.
    static constexpr std::chrono::milliseconds silenceBound{2000};

private:
    MciLayer();

    struct PendingNotice {
        MciNotifyTarget* target;
        std::uint64_t playId;
    };
    struct WatcherDeleter {
        void operator()(QSocketNotifier* watcher) const;
    };
    struct Device {
        std::unique_ptr<HostProcess> host; // null once the device failed
        std::unique_ptr<QSocketNotifier, WatcherDeleter> watcher;
        MciDeviceType type = MCI_DEVTYPE_GENERAL;
        bool hasVideo = false;
        bool hasAudio = false;
        MciMode mode = MCI_MODE_STOP;
        std::uint64_t lastPlayId = 0;
        std::optional<PendingNotice> pending;
        MCIERROR failure = MCIERR_NONE; // why the device no longer works
    };

    Device* find(MCIDEVICEID id);
    MCIERROR ask(MCIDEVICEID id, Device& device, const std::string& request,
                 HostProcess::Reply& reply);
    MCIERROR waitForEnd(MCIDEVICEID id, Device& device, std::uint64_t playId);
    void endPending(MCIDEVICEID id, Device& device, MciNotifyKind kind);
    void notifyDone(MCIDEVICEID id, MciFlags flags, MciNotifyTarget* callback);
    void failDevice(MCIDEVICEID id, Device& device, MCIERROR reason);
    void takeNotices(MCIDEVICEID id, Device& device);
    void onReadable(MCIDEVICEID id);
    void watch();
    void updateWatchdog();

    std::unique_ptr<HostProcess> takeHost();
    void keepSpare(std::unique_ptr<HostProcess> host);
    void ensureSpare();

    QObject context_;
    QThread* thread_;
    NoticeQueue notices_{&context_};
    QTimer watchdog_;
    std::map<MCIDEVICEID, Device> devices_;
    std::unique_ptr<HostProcess> spare_;
    MCIDEVICEID nextId_ = 1;
};
