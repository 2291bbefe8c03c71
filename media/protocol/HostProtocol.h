#pragma once
// The little protocol between the media layer and its media host, shared by
// both sides (plain C++, no Qt, no GStreamer).
//
// One message is one line of words separated by single spaces. File paths
// travel hex-encoded, so any byte of a name is safe.
//
//   layer -> host   <id> open <hexpath> <video 0|1>     reply: ok <lengthMs> <hasVideo> <hasAudio>
//                   <id> close                          reply: ok
//                   <id> play <fromMs|-1> <toMs|-1>     reply: ok   (later: n end <id>)
//                   <id> pause | stop                   reply: ok
//                   <id> seek <ms|end>                  reply: ok
//                   <id> status                         reply: ok <mode> <positionMs> <lengthMs>
//   host -> layer   r <id> ok [values...]   |   r <id> err <failure>
//                   n end <playId>          the play started by request <playId> reached its end
//                   n tick <positionMs>     every 500 ms while playing: the host is alive
//                   n fail <failure>        the pipeline failed; the host should be ended

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostproto {

// Why the host could not do what was asked.
enum class Failure {
    NotFound,   // no such file
    CannotRead, // no permission, not a regular file
    NotMedia,   // no known type, or damaged
    NoDecoder,  // a known type without an installed decoder
    Playback,   // the pipeline failed while it ran
    Stalled,    // playing, but the position stopped moving
    OutOfRange, // a position beyond the media
    BadRequest, // a request the host does not understand, or one out of place
};
std::string_view failureWord(Failure f);
std::optional<Failure> failureFromWord(std::string_view word);

enum class Mode { Stop, Play, Pause };
std::string_view modeWord(Mode m);
std::optional<Mode> modeFromWord(std::string_view word);

std::string hexEncode(std::string_view bytes);
std::optional<std::string> hexDecode(std::string_view hex);

std::vector<std::string_view> splitWords(std::string_view line);
std::optional<std::int64_t> parseNumber(std::string_view word);

// Collects bytes read from the pipe and hands out whole lines. A line longer
// than the limit is a broken peer: the buffer reports it and drops it.
class LineBuffer {
public:
    static constexpr std::size_t maxLine = 64 * 1024;
    void append(const char* data, std::size_t size);
    std::optional<std::string> nextLine();
    bool overflowed() const { return overflowed_; }

private:
    std::string data_;
    bool overflowed_ = false;
};

} // namespace hostproto
