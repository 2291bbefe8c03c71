#pragma once
// Helpers of the media tests: short media files made on the spot with
// GStreamer's own command-line tools (so the test process itself never loads
// GStreamer), a notice recorder, and a look at the media host processes.

#include "media/Mci.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <sys/types.h>
#include <vector>

namespace media_test {

// Makes `path` from a gst-launch-1.0 pipeline description ending in a
// filesink that the helper adds; false (with a warning) on failure.
bool makeWithGstreamer(const QString& pipeline, const QString& path);

// A tone of `ms` milliseconds in the format the extension names: wav, mp3,
// wma, mp2, mp1 (layer-2 data, as MPEG audio parsers take either), ra
// (RealMedia holding AC-3), avi (with a moving picture and sound), mid/midi
// (written byte by byte).
bool makeMedia(const QString& path, int ms);
QByteArray midiFile(int ms);

// The file name as the media layer takes it.
std::string fileName(const QString& path);

// Records completion notices, in order.
class NoticeRecorder : public MciNotifyTarget {
public:
    struct Notice {
        MCIDEVICEID device;
        MciNotifyKind kind;
        qint64 atMs;
    };
    void MciNotify(MCIDEVICEID device, MciNotifyKind kind) override;
    // Runs the event loop until `count` notices have arrived or the time is up.
    bool waitFor(int count, int timeoutMs);
    std::vector<Notice> notices;

private:
    QElapsedTimer clock_ = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
};

// Runs the event loop for a while.
void spin(int ms);

// The media hosts that are children of this process.
std::vector<pid_t> hostChildren();
// Whether a process exists and is not a zombie.
bool processRuns(pid_t pid);

// Opening and asking, with the flags the button bar uses.
MCIERROR openFile(const QString& path, MCIDEVICEID& device);
// Plays from the current position with its completion notice going to `notices`.
MCIERROR playNotifying(MCIDEVICEID device, NoticeRecorder& notices);
std::uint32_t status(MCIDEVICEID device, MciStatusItem item, MCIERROR* error = nullptr);
std::uint32_t capability(MCIDEVICEID device, MciCapability item);
QString errorText(MCIERROR error);

} // namespace media_test
