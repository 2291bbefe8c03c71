// The one table of the media layer's error codes and their texts.

#include "media/Mci.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

struct ErrorText {
    MCIERROR code;
    const char* text;
};

constexpr ErrorText errorTexts[] = {
    {MCIERR_NONE, "The request was carried out."},
    {MCIERR_INVALID_DEVICE_ID, "No media device is open under this identifier."},
    {MCIERR_UNRECOGNIZED_COMMAND, "The media device does not know this command."},
    {MCIERR_BAD_PARAMETERS, "The parameters do not belong to this command."},
    {MCIERR_FLAGS_NOT_COMPATIBLE, "The request's flags do not fit the command or each other."},
    {MCIERR_MISSING_PARAMETER, "The request lacks a parameter it needs."},
    {MCIERR_UNSUPPORTED_FUNCTION, "The media device cannot do this."},
    {MCIERR_NONAPPLICABLE_FUNCTION, "The request does not apply in the device's present mode."},
    {MCIERR_OUTOFRANGE, "The position lies outside the media."},
    {MCIERR_FILE_NOT_FOUND, "The media file was not found."},
    {MCIERR_FILE_READ, "The media file cannot be read."},
    {MCIERR_INVALID_FILE, "The file is not a media file, or it is damaged."},
    {MCIERR_NO_DECODER, "No installed decoder plays this file's format."},
    {MCIERR_UNKNOWN_DEVICE_TYPE, "No media device handles files of this type."},
    {MCIERR_HOST_NOT_STARTED, "The media host program could not be started."},
    {MCIERR_HOST_DIED, "The media host stopped unexpectedly; the file may be damaged."},
    {MCIERR_TIMEOUT, "The media device did not answer in time; the file may be damaged."},
    {MCIERR_PLAYBACK_FAILED, "Playback failed: the media could not be decoded."},
    {MCIERR_WRONG_THREAD, "The media layer was called from a thread other than its own."},
};

} // namespace

bool mciGetErrorStringA(MCIERROR error, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return false;
    buffer[0] = '\0';
    const auto* found = std::find_if(std::begin(errorTexts), std::end(errorTexts),
                                     [error](const ErrorText& e) { return e.code == error; });
    if (found == std::end(errorTexts)) return false;
    const std::size_t length = std::min(std::strlen(found->text), size - 1);
    std::memcpy(buffer, found->text, length);
    buffer[length] = '\0';
    return true;
}
