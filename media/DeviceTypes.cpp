#include "media/DeviceTypes.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

struct Claim {
    std::string_view extension;
    MciDeviceType type;
};

// The general device's list names the formats GStreamer's installed plugins
// play; other extensions still get a try (see DeviceChoice::claimed).
constexpr std::array claims{
    Claim{"wav", MCI_DEVTYPE_WAVEFORM_AUDIO}, Claim{"mid", MCI_DEVTYPE_SEQUENCER},
    Claim{"midi", MCI_DEVTYPE_SEQUENCER},     Claim{"rmi", MCI_DEVTYPE_SEQUENCER},
    Claim{"avi", MCI_DEVTYPE_AVI_VIDEO},      Claim{"mp3", MCI_DEVTYPE_GENERAL},
    Claim{"mp2", MCI_DEVTYPE_GENERAL},        Claim{"mp1", MCI_DEVTYPE_GENERAL},
    Claim{"mpa", MCI_DEVTYPE_GENERAL},        Claim{"mpga", MCI_DEVTYPE_GENERAL},
    Claim{"wma", MCI_DEVTYPE_GENERAL},        Claim{"wmv", MCI_DEVTYPE_GENERAL},
    Claim{"asf", MCI_DEVTYPE_GENERAL},        Claim{"ra", MCI_DEVTYPE_GENERAL},
    Claim{"rm", MCI_DEVTYPE_GENERAL},         Claim{"rmvb", MCI_DEVTYPE_GENERAL},
    Claim{"flac", MCI_DEVTYPE_GENERAL},       Claim{"ogg", MCI_DEVTYPE_GENERAL},
    Claim{"oga", MCI_DEVTYPE_GENERAL},        Claim{"ogv", MCI_DEVTYPE_GENERAL},
    Claim{"opus", MCI_DEVTYPE_GENERAL},       Claim{"spx", MCI_DEVTYPE_GENERAL},
    Claim{"m4a", MCI_DEVTYPE_GENERAL},        Claim{"m4b", MCI_DEVTYPE_GENERAL},
    Claim{"aac", MCI_DEVTYPE_GENERAL},        Claim{"ac3", MCI_DEVTYPE_GENERAL},
    Claim{"mp4", MCI_DEVTYPE_GENERAL},        Claim{"m4v", MCI_DEVTYPE_GENERAL},
    Claim{"mov", MCI_DEVTYPE_GENERAL},        Claim{"3gp", MCI_DEVTYPE_GENERAL},
    Claim{"mkv", MCI_DEVTYPE_GENERAL},        Claim{"mka", MCI_DEVTYPE_GENERAL},
    Claim{"webm", MCI_DEVTYPE_GENERAL},       Claim{"mpg", MCI_DEVTYPE_GENERAL},
    Claim{"mpeg", MCI_DEVTYPE_GENERAL},       Claim{"vob", MCI_DEVTYPE_GENERAL},
    Claim{"ts", MCI_DEVTYPE_GENERAL},         Claim{"flv", MCI_DEVTYPE_GENERAL},
    Claim{"aif", MCI_DEVTYPE_GENERAL},        Claim{"aiff", MCI_DEVTYPE_GENERAL},
    Claim{"au", MCI_DEVTYPE_GENERAL},         Claim{"snd", MCI_DEVTYPE_GENERAL},
    Claim{"wv", MCI_DEVTYPE_GENERAL},         Claim{"ape", MCI_DEVTYPE_GENERAL},
    Claim{"amr", MCI_DEVTYPE_GENERAL},        Claim{"mod", MCI_DEVTYPE_GENERAL},
};

struct Name {
    std::string_view name;
    MciDeviceType type;
};
constexpr std::array names{
    Name{"waveaudio", MCI_DEVTYPE_WAVEFORM_AUDIO},
    Name{"sequencer", MCI_DEVTYPE_SEQUENCER},
    Name{"avivideo", MCI_DEVTYPE_AVI_VIDEO},
    Name{"mpegvideo", MCI_DEVTYPE_GENERAL},
};

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : char(c);
    });
    return lower;
}

} // namespace

DeviceChoice deviceForFile(std::string_view path) {
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {MCI_DEVTYPE_GENERAL, false};
    const std::string extension = lowerAscii(name.substr(dot + 1));
    for (const auto& claim : claims)
        if (claim.extension == extension) return {claim.type, true};
    return {MCI_DEVTYPE_GENERAL, false};
}

std::optional<MciDeviceType> deviceTypeNamed(std::string_view name) {
    const std::string lower = lowerAscii(name);
    for (const auto& entry : names)
        if (entry.name == lower) return entry.type;
    return std::nullopt;
}

bool deviceShowsVideo(MciDeviceType type) {
    return type == MCI_DEVTYPE_AVI_VIDEO || type == MCI_DEVTYPE_GENERAL;
}
