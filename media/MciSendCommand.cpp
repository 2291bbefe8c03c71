// mciSendCommandA: checks a request's command, flags and parameter structure
// and hands it to the layer.

#include "media/Mci.h"
#include "media/MciLayer.h"

namespace {

constexpr MciFlags common = MCI_NOTIFY | MCI_WAIT;

MciFlags allowedFlags(MciCommand command) {
    switch (command) {
    case MCI_OPEN:
        return common | MCI_OPEN_ELEMENT | MCI_OPEN_TYPE | MCI_OPEN_SHAREABLE;
    case MCI_PLAY:
        return common | MCI_FROM | MCI_TO;
    case MCI_SEEK:
        return common | MCI_SEEK_TO_START | MCI_SEEK_TO_END | MCI_TO;
    case MCI_STATUS:
        return common | MCI_STATUS_ITEM;
    case MCI_GETDEVCAPS:
        return common | MCI_GETDEVCAPS_ITEM;
    default:
        return common;
    }
}

bool knownCommand(MciCommand command) {
    return command >= MCI_OPEN && command <= MCI_GETDEVCAPS;
}

// The checks every request passes. Requests to a device go to the running
// layer only: without one, no device is open.
MCIERROR screen(MciCommand command, MciFlags flags, MciNotifyTarget* callback, bool parmsFit) {
    if (!knownCommand(command)) return MCIERR_UNRECOGNIZED_COMMAND;
    if (!parmsFit) return MCIERR_BAD_PARAMETERS;
    if (flags & ~allowedFlags(command)) return MCIERR_FLAGS_NOT_COMPATIBLE;
    if ((flags & MCI_NOTIFY) && !callback) return MCIERR_MISSING_PARAMETER;
    if (command != MCI_OPEN && !MciLayer::existing()) return MCIERR_INVALID_DEVICE_ID;
    if (MciLayer::existing() && !MciLayer::existing()->onOwnThread()) return MCIERR_WRONG_THREAD;
    return MCIERR_NONE;
}

MCIERROR generic(MCIDEVICEID device, MciCommand command, MciFlags flags,
                 MciNotifyTarget* callback) {
    MciLayer& layer = *MciLayer::existing();
    switch (command) {
    case MCI_CLOSE:
        return layer.close(device, flags, callback);
    case MCI_PAUSE:
        return layer.halt(device, flags, callback, MCI_MODE_PAUSE);
    case MCI_STOP:
        return layer.halt(device, flags, callback, MCI_MODE_STOP);
    case MCI_RESUME:
        return layer.resume(device, flags, callback);
    case MCI_PLAY: {
        MciPlayParms parms;
        parms.callback = callback;
        return layer.play(device, flags, parms);
    }
    default:
        return MCIERR_BAD_PARAMETERS;
    }
}

bool takesGeneric(MciCommand c) {
    return c == MCI_CLOSE || c == MCI_PAUSE || c == MCI_STOP || c == MCI_RESUME || c == MCI_PLAY;
}

} // namespace

MCIERROR mciSendCommandA(MCIDEVICEID, MciCommand command, MciFlags flags, MciOpenParms& parms) {
    if (const MCIERROR error = screen(command, flags, parms.callback, command == MCI_OPEN))
        return error;
    return MciLayer::instance().open(flags, parms);
}

MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags,
                         MciGenericParms& parms) {
    const bool fits = takesGeneric(command) && !(flags & (MCI_FROM | MCI_TO));
    if (const MCIERROR error = screen(command, flags, parms.callback, fits)) return error;
    return generic(device, command, flags, parms.callback);
}

MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags,
                         MciPlayParms& parms) {
    if (const MCIERROR error = screen(command, flags, parms.callback, command == MCI_PLAY))
        return error;
    return MciLayer::existing()->play(device, flags, parms);
}

MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags,
                         MciSeekParms& parms) {
    if (const MCIERROR error = screen(command, flags, parms.callback, command == MCI_SEEK))
        return error;
    return MciLayer::existing()->seek(device, flags, parms);
}

MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags,
                         MciStatusParms& parms) {
    if (const MCIERROR error = screen(command, flags, parms.callback, command == MCI_STATUS))
        return error;
    return MciLayer::existing()->status(device, flags, parms);
}

MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags,
                         MciGetDevCapsParms& parms) {
    if (const MCIERROR error = screen(command, flags, parms.callback, command == MCI_GETDEVCAPS))
        return error;
    return MciLayer::existing()->capabilities(device, flags, parms);
}

MCIERROR mciSendCommandA(MCIDEVICEID device, MciCommand command, MciFlags flags) {
    if (command == MCI_SEEK) {
        MciSeekParms parms;
        return mciSendCommandA(device, command, flags, parms);
    }
    MciGenericParms parms;
    return mciSendCommandA(device, command, flags, parms);
}
