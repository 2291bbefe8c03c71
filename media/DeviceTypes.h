#pragma once
// Which kind of device opens a file: chosen from the file's extension.

#include "media/Mci.h"

#include <optional>
#include <string_view>

struct DeviceChoice {
    MciDeviceType type;
    // False when no device claims the extension (or there is none): the
    // general device then lets GStreamer recognise the file by its content,
    // and a file it does not recognise is MCIERR_UNKNOWN_DEVICE_TYPE rather
    // than MCIERR_INVALID_FILE.
    bool claimed;
};

DeviceChoice deviceForFile(std::string_view path);
std::optional<MciDeviceType> deviceTypeNamed(std::string_view name);
// Devices whose files can carry a picture.
bool deviceShowsVideo(MciDeviceType type);
