#pragma once
// The media layer's command interface: devices opened on media files, driven
// by commands (open, play, pause, resume, stop, seek, status, capabilities,
// close), answered with error codes, and completion notices sent back to a
// "callback window" on the thread that runs the Qt event loop.
//
// Decoding never happens in this process: every open device is one GStreamer
// pipeline inside a media host process of its own (lunohrai-media-host), so a
// damaged file can end only its host, never the program. Requests that wait
// are bounded in time: open 10 s, every other request 2 s.
//
// Use from one thread only (the one that runs the Qt event loop), and with a
// QCoreApplication in existence: notices are delivered through its event loop.
// Times are milliseconds.

#include <cstddef>
#include <cstdint>
#include <string>

// A device identifier; 0 is no device.
using MCIDEVICEID = std::uint32_t;

// Error codes; MCIERR_NONE (0) is success. mciGetErrorStringA gives each its text.
enum MCIERROR : std::uint32_t {
    MCIERR_NONE = 0,
    MCIERR_INVALID_DEVICE_ID = 0x101,
    MCIERR_UNRECOGNIZED_COMMAND,
    MCIERR_BAD_PARAMETERS,
    MCIERR_FLAGS_NOT_COMPATIBLE,
    MCIERR_MISSING_PARAMETER,
    MCIERR_UNSUPPORTED_FUNCTION,
    MCIERR_NONAPPLICABLE_FUNCTION,
    MCIERR_OUTOFRANGE,
    MCIERR_FILE_NOT_FOUND,
    MCIERR_FILE_READ,
    MCIERR_INVALID_FILE,
    MCIERR_NO_DECODER,
    MCIERR_UNKNOWN_DEVICE_TYPE,
    MCIERR_HOST_NOT_STARTED,
    MCIERR_HOST_DIED,
    MCIERR_TIMEOUT,
    MCIERR_PLAYBACK_FAILED,
    MCIERR_WRONG_THREAD,
};

// Commands.
enum MciCommand : std::uint32_t {
    MCI_OPEN = 1,
    MCI_CLOSE,
    MCI_PLAY,
    MCI_PAUSE,
    MCI_RESUME,
    MCI_STOP,
    MCI_SEEK,
    MCI_STATUS,
    MCI_GETDEVCAPS,
};

// Flags of a request; each flag has its own bit, so one that does not belong
// to the command is reported (MCIERR_FLAGS_NOT_COMPATIBLE).
enum MciFlags : std::uint32_t {
    MCI_FLAGS_NONE = 0,
    MCI_NOTIFY = 1u << 0, // send a completion notice to the parameters' callback
    MCI_WAIT = 1u << 1,   // return when the request is complete (play, resume: at the end)
    MCI_FROM = 1u << 2,   // play: start at `from`
    MCI_TO = 1u << 3,     // play: end at `to`; seek: go to `to`
    MCI_OPEN_ELEMENT = 1u << 4,
    MCI_OPEN_TYPE = 1u << 5,
    MCI_OPEN_SHAREABLE = 1u << 6, // accepted; every open gives a device of its own anyway
    MCI_SEEK_TO_START = 1u << 7,
    MCI_SEEK_TO_END = 1u << 8,
    MCI_STATUS_ITEM = 1u << 9,
    MCI_GETDEVCAPS_ITEM = 1u << 10,
};
constexpr MciFlags operator|(MciFlags a, MciFlags b) {
    return static_cast<MciFlags>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
constexpr MciFlags operator&(MciFlags a, MciFlags b) {
    return static_cast<MciFlags>(static_cast<std::uint32_t>(a) & static_cast<std::uint32_t>(b));
}
constexpr MciFlags operator~(MciFlags a) {
    return static_cast<MciFlags>(~static_cast<std::uint32_t>(a));
}
constexpr MciFlags& operator|=(MciFlags& a, MciFlags b) {
    return a = a | b;
}

// Items of MCI_STATUS.
enum MciStatusItem : std::uint32_t {
    MCI_STATUS_LENGTH = 1, // milliseconds
    MCI_STATUS_POSITION,   // milliseconds; equals the length at the end of the media
    MCI_STATUS_MODE,       // an MciMode
};

// Modes a device reports.
enum MciMode : std::uint32_t {
    MCI_MODE_NOT_READY = 1,
    MCI_MODE_STOP,
    MCI_MODE_PLAY,
    MCI_MODE_PAUSE,
};

// Items of MCI_GETDEVCAPS; each answers 1 (yes) or 0 (no), except the device type.
enum MciCapability : std::uint32_t {
    MCI_GETDEVCAPS_CAN_PLAY = 1,
    MCI_GETDEVCAPS_CAN_RECORD,
    MCI_GETDEVCAPS_CAN_EJECT,
    MCI_GETDEVCAPS_CAN_SAVE,
    MCI_GETDEVCAPS_HAS_AUDIO,
    MCI_GETDEVCAPS_HAS_VIDEO,
    MCI_GETDEVCAPS_USES_FILES,
    MCI_GETDEVCAPS_DEVICE_TYPE, // an MciDeviceType
};

// Kinds of device, chosen from the file's extension; their names (for
// MCI_OPEN_TYPE) are "waveaudio", "sequencer", "avivideo" and "mpegvideo".
enum MciDeviceType : std::uint32_t {
    MCI_DEVTYPE_WAVEFORM_AUDIO = 1, // .wav
    MCI_DEVTYPE_SEQUENCER,          // .mid .midi .rmi
    MCI_DEVTYPE_AVI_VIDEO,          // .avi
    MCI_DEVTYPE_GENERAL, // .mp3 .mp1 .mp2 .wma .ra and every other format GStreamer plays
};

// The completion notice and its kinds.
enum MciMessage : std::uint32_t { MM_MCINOTIFY = 1 };
enum MciNotifyKind : std::uint32_t {
    MCI_NOTIFY_SUCCESSFUL = 1, // the request is complete (a play: the end was reached)
    MCI_NOTIFY_SUPERSEDED = 2, // a later request asked for a notice of its own
    MCI_NOTIFY_ABORTED = 4,    // a later request cut the request short (stop, pause, seek, close)
    MCI_NOTIFY_FAILURE = 8,    // the device failed (its host died, hung or could not decode)
};

// The "callback window" that receives MM_MCINOTIFY: MciNotify is called on the
// event loop's thread, never from inside mciSendCommandA. A target that is
// destroyed drops the notices still on their way to it.
class MciNotifyTarget {
public:
    virtual ~MciNotifyTarget();
    virtual void MciNotify(MCIDEVICEID device, MciNotifyKind kind) = 0;
};

// Parameters of close, pause, resume and stop.
struct MciGenericParms {
    MciNotifyTarget* callback = nullptr; // with MCI_NOTIFY
};

struct MciOpenParms {
    MciNotifyTarget* callback = nullptr;
    MCIDEVICEID deviceId = 0; // out: the new device
    std::string deviceType; // with MCI_OPEN_TYPE: "waveaudio", "sequencer", "avivideo", "mpegvideo"
    std::string elementName; // with MCI_OPEN_ELEMENT: the file's path, as the file system spells it
};

struct MciPlayParms {
    MciNotifyTarget* callback = nullptr;
    std::uint32_t from = 0; // with MCI_FROM
    std::uint32_t to = 0;   // with MCI_TO
};

struct MciSeekParms {
    MciNotifyTarget* callback = nullptr;
    std::uint32_t to = 0; // with MCI_TO (else MCI_SEEK_TO_START or MCI_SEEK_TO_END)
};

struct MciStatusParms {
    MciNotifyTarget* callback = nullptr;
    MciStatusItem item = MCI_STATUS_MODE; // with MCI_STATUS_ITEM
    std::uint32_t result = 0;             // out
};

struct MciGetDevCapsParms {
    MciNotifyTarget* callback = nullptr;
    MciCapability item = MCI_GETDEVCAPS_CAN_PLAY; // with MCI_GETDEVCAPS_ITEM
    std::uint32_t result = 0;                     // out
};

// Sends a command to a device (MCI_OPEN: to none, device 0). A parameter
// structure that does not belong to the command gives MCIERR_BAD_PARAMETERS.
MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags,
                         MciOpenParms& parms);
MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags,
                         MciGenericParms& parms);
MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags,
                         MciPlayParms& parms);
MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags,
                         MciSeekParms& parms);
MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags,
                         MciStatusParms& parms);
MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags,
                         MciGetDevCapsParms& parms);
// Commands that need no parameters (close, pause, resume, stop, play without a notice).
MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags);

// Copies the text of an error code (English, ending in ".") into buffer, cut to
// fit and always terminated. False for a code the layer does not know or when
// there is no room.
bool mciGetErrorStringA(MCIERROR error, char* buffer, std::size_t size);
