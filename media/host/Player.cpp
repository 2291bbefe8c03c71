#include "media/host/Player.h"

#include "media/host/Sinks.h"

#include <algorithm>
#include <cstring>
#include <sys/resource.h>

using hostproto::Failure;
using hostproto::Mode;

namespace {

constexpr guint tickIntervalMs = 500;
// Ticks in a row with the position still and a core busy while the pipeline
// plays: the decoder is stuck (some damaged MIDI files make the parser spin
// for ever).
constexpr int stalledTicks = 6;
// A seek that does not settle is answered anyway, so that the request stays
// within the layer's bound; the pipeline settles later.
constexpr guint seekSettleMs = 1500;
// How long an open waits for a duration that the preroll did not give.
constexpr guint lengthPollMs = 20;
constexpr int lengthPolls = 25;

// Playbin's own flag values (GstPlayFlags is not in its public headers).
constexpr guint playVideo = 1u << 0, playAudio = 1u << 1, playSoftVolume = 1u << 4,
                playDeinterlace = 1u << 9, playSoftColorBalance = 1u << 10;

std::int64_t toMs(gint64 ns) {
    return ns / GST_MSECOND;
}

Failure classify(const GError* error, bool missingPlugin) {
    if (missingPlugin) return Failure::NoDecoder;
    if (error->domain == GST_RESOURCE_ERROR) {
        switch (error->code) {
        case GST_RESOURCE_ERROR_NOT_FOUND:
            return Failure::NotFound;
        case GST_RESOURCE_ERROR_OPEN_READ:
        case GST_RESOURCE_ERROR_READ:
        case GST_RESOURCE_ERROR_NOT_AUTHORIZED:
        case GST_RESOURCE_ERROR_OPEN_READ_WRITE:
            return Failure::CannotRead;
        default:
            return Failure::NotMedia;
        }
    }
    if (error->domain == GST_STREAM_ERROR && error->code == GST_STREAM_ERROR_CODEC_NOT_FOUND)
        return Failure::NoDecoder;
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return Failure::NoDecoder;
    return Failure::NotMedia;
}

} // namespace

Player::Player(Channel& channel) : channel_(channel) {}

Player::~Player() {
    teardown();
}

void Player::handle(std::string_view request) {
    const auto words = hostproto::splitWords(request);
    const auto id = words.empty() ? std::nullopt : hostproto::parseNumber(words[0]);
    if (!id || words.size() < 2) return; // not a request: nobody waits for an answer
    const Id requestId = static_cast<Id>(*id);
    const std::string_view verb = words[1];
    const auto number = [&](std::size_t i) {
        return i < words.size() ? hostproto::parseNumber(words[i]) : std::nullopt;
    };

    if (verb == "open" && words.size() == 4) {
        const auto path = hostproto::hexDecode(words[2]);
        if (path) return open(requestId, *path, words[3] == "1");
    } else if (verb == "close") {
        return close(requestId);
    } else if (verb == "play" && number(2) && number(3)) {
        return play(requestId, *number(2), *number(3));
    } else if (verb == "pause") {
        return halt(requestId, Mode::Pause);
    } else if (verb == "stop") {
        return halt(requestId, Mode::Stop);
    } else if (verb == "seek" && words.size() == 3) {
        if (words[2] == "end") return seek(requestId, std::nullopt);
        if (const auto target = number(2); target && *target >= 0) return seek(requestId, target);
    } else if (verb == "status") {
        return status(requestId);
    }
    replyError(requestId, Failure::BadRequest);
}

// --- open and close ------------------------------------------------------

void Player::open(Id id, const std::string& path, bool withVideo) {
    if (playbin_) return replyError(id, Failure::BadRequest);
    GError* error = nullptr;
    gchar* uri = gst_filename_to_uri(path.c_str(), &error);
    if (!uri) {
        g_clear_error(&error);
        return replyError(id, Failure::NotFound);
    }
    uri_ = uri;
    g_free(uri);
    withVideo_ = withVideo;
    openRequest_ = id;
    if (!buildPipeline(true)) return failOpen(Failure::NoDecoder);
    startPreroll();
}

bool Player::buildPipeline(bool videoToDisplay) {
    playbin_ = gst_element_factory_make("playbin", nullptr);
    if (!playbin_) return false;
    gst_object_ref_sink(playbin_);
    videoToDisplay_ = videoToDisplay;
    // No subtitles and no visualisation; audio-only devices take no picture.
    guint flags = playAudio | playSoftVolume;
    if (withVideo_) flags |= playVideo | playDeinterlace | playSoftColorBalance;
    videoSink_ = withVideo_ ? makeVideoSink(videoToDisplay) : nullptr;
    g_object_set(playbin_, "uri", uri_.c_str(), "flags", flags, "audio-sink", makeAudioSink(),
                 nullptr);
    if (videoSink_) g_object_set(playbin_, "video-sink", videoSink_, nullptr);
    g_signal_connect(playbin_, "element-setup", G_CALLBACK(&Player::onElementSetup), nullptr);
    GstBus* bus = gst_element_get_bus(playbin_);
    busWatch_ = gst_bus_add_watch(bus, &Player::onBus, this);
    gst_object_unref(bus);
    return true;
}

void Player::startPreroll() {
    missingPlugin_ = false;
    // A failure here is also posted on the bus, where onError answers it.
    gst_element_set_state(playbin_, GST_STATE_PAUSED);
}

void Player::onElementSetup(GstElement*, GstElement* element, gpointer) {
    GstElementFactory* factory = gst_element_get_factory(element);
    if (!factory) return;
    const gchar* name = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory));
    if (std::strcmp(name, "fluiddec") == 0)
        if (const char* soundfont = midiSoundfont())
            g_object_set(element, "soundfont", soundfont, nullptr);
}

void Player::finishOpen() {
    gint videoStreams = 0, audioStreams = 0;
    g_object_get(playbin_, "n-video", &videoStreams, "n-audio", &audioStreams, nullptr);
    if (videoStreams + audioStreams == 0)
        return failOpen(missingPlugin_ ? Failure::NoDecoder : Failure::NotMedia);
    hasVideo_ = videoStreams > 0;
    hasAudio_ = audioStreams > 0;
    mode_ = Mode::Stop;
    lengthMs_ = 0;
    // Some parsers know the duration only a moment after the preroll (MPEG
    // audio without a header that gives it): the open waits a little for it.
    if (lengthMs() > 0) return answerOpen();
    lengthWaits_ = 0;
    lengthTimer_ = g_timeout_add(lengthPollMs, &Player::onLengthPoll, this);
}

gboolean Player::onLengthPoll(gpointer self) {
    auto* player = static_cast<Player*>(self);
    if (player->lengthMs() > 0 || ++player->lengthWaits_ >= lengthPolls) {
        player->lengthTimer_ = 0;
        player->answerOpen();
        return G_SOURCE_REMOVE;
    }
    return G_SOURCE_CONTINUE;
}

void Player::answerOpen() {
    if (!openRequest_) return;
    const Id id = *openRequest_;
    openRequest_.reset();
    replyOk(id, std::to_string(lengthMs()) + (hasVideo_ ? " 1" : " 0") + (hasAudio_ ? " 1" : " 0"));
}

void Player::failOpen(Failure failure) {
    const Id id = *openRequest_;
    openRequest_.reset();
    // Answer first: tearing a broken pipeline down can hang, and the layer
    // ends a host whose open failed anyway.
    replyError(id, failure);
    teardown();
}

void Player::close(Id id) {
    teardown();
    replyOk(id);
}

void Player::teardown() {
    stopTicks();
    if (seekTimer_) g_source_remove(seekTimer_);
    seekTimer_ = 0;
    if (lengthTimer_) g_source_remove(lengthTimer_);
    lengthTimer_ = 0;
    if (playbin_) {
        gst_element_set_state(playbin_, GST_STATE_NULL);
        if (busWatch_) g_source_remove(busWatch_);
        busWatch_ = 0;
        gst_object_unref(playbin_);
        playbin_ = nullptr;
    }
    videoSink_ = nullptr;
    openRequest_.reset();
    seekRequest_.reset();
    failed_ = false;
    mode_ = Mode::Stop;
    lengthMs_ = lastPositionMs_ = 0;
    heldPositionMs_.reset();
    atEnd_ = false;
    stopAtMs_ = -1;
}

// --- play, pause, stop, seek, status ---------------------------------------

void Player::play(Id id, std::int64_t fromMs, std::int64_t toMs) {
    if (!playbin_ || openRequest_) return replyError(id, Failure::BadRequest);
    if (failed_) return replyError(id, Failure::Playback);
    const std::int64_t length = lengthMs();
    if ((fromMs > 0 && length > 0 && fromMs > length) || (toMs > 0 && length > 0 && toMs > length))
        return replyError(id, Failure::OutOfRange);
    playId_ = id;
    if (fromMs < 0 && atEnd_) {
        // Nothing left to play: the play is over as soon as it starts.
        replyOk(id);
        channel_.send("n end " + std::to_string(id));
        return;
    }
    const bool needSeek = fromMs >= 0 || toMs >= 0 || heldPositionMs_ || stopAtMs_ >= 0;
    if (needSeek) {
        const std::int64_t start = fromMs >= 0 ? fromMs : positionMs();
        if (toMs >= 0 && toMs <= start) {
            heldPositionMs_ = start;
            replyOk(id);
            channel_.send("n end " + std::to_string(id));
            return;
        }
        if (!moveTo(start, toMs)) return replyError(id, Failure::Playback);
        lastPositionMs_ = start;
        heldPositionMs_.reset();
        atEnd_ = false;
        stopAtMs_ = toMs;
    }
    if (gst_element_set_state(playbin_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return replyError(id, Failure::Playback);
    mode_ = Mode::Play;
    startTicks();
    replyOk(id);
}

void Player::halt(Id id, Mode mode) {
    if (!playbin_ || openRequest_) return replyError(id, Failure::BadRequest);
    if (mode_ == Mode::Play) {
        // Pausing the sink corks the sound at once, whatever it has buffered.
        lastPositionMs_ = positionMs();
        gst_element_set_state(playbin_, GST_STATE_PAUSED);
        stopTicks();
    }
    mode_ = mode;
    replyOk(id);
}

void Player::seek(Id id, std::optional<std::int64_t> targetMs) {
    if (!playbin_ || openRequest_) return replyError(id, Failure::BadRequest);
    if (failed_) return replyError(id, Failure::Playback);
    const std::int64_t length = lengthMs();
    if (targetMs && length > 0 && *targetMs > length) return replyError(id, Failure::OutOfRange);
    if (mode_ == Mode::Play) gst_element_set_state(playbin_, GST_STATE_PAUSED);
    stopTicks();
    mode_ = Mode::Stop;
    if (!targetMs || (length > 0 && *targetMs == length)) {
        // The end needs no decoding: the device stands there until a play
        // moves the pipeline.
        heldPositionMs_ = length;
        atEnd_ = true;
        return replyOk(id);
    }
    if (!moveTo(*targetMs, -1)) return replyError(id, Failure::Playback);
    lastPositionMs_ = *targetMs;
    heldPositionMs_.reset();
    atEnd_ = false;
    stopAtMs_ = -1;
    seekRequest_ = id;
    seekTimer_ = g_timeout_add(seekSettleMs, &Player::onSeekSettled, this);
}

bool Player::moveTo(std::int64_t startMs, std::int64_t stopMs) {
    const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    if (gst_element_seek(playbin_, 1.0, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET,
                         startMs * GST_MSECOND, GST_SEEK_TYPE_SET,
                         stopMs >= 0 ? stopMs * GST_MSECOND : GST_CLOCK_TIME_NONE))
        return true;
    // Some streams cannot seek (RealMedia without an index, for one); their
    // start is reached by reading them again from the beginning.
    if (startMs != 0 || stopMs >= 0) return false;
    GstState state = GST_STATE_PAUSED;
    gst_element_get_state(playbin_, &state, nullptr, 0);
    gst_element_set_state(playbin_, GST_STATE_READY);
    return gst_element_set_state(playbin_, state == GST_STATE_PLAYING
                                               ? GST_STATE_PLAYING
                                               : GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
}

gboolean Player::onSeekSettled(gpointer self) {
    auto* player = static_cast<Player*>(self);
    player->seekTimer_ = 0;
    player->answerSeek();
    return G_SOURCE_REMOVE;
}

void Player::answerSeek() {
    if (seekTimer_) g_source_remove(seekTimer_);
    seekTimer_ = 0;
    if (!seekRequest_) return;
    const Id id = *seekRequest_;
    seekRequest_.reset();
    replyOk(id);
}

void Player::status(Id id) {
    if (!playbin_ || openRequest_) return replyError(id, Failure::BadRequest);
    const std::int64_t position = positionMs();
    replyOk(id, std::string(hostproto::modeWord(mode_)) + ' ' + std::to_string(position) + ' ' +
                    std::to_string(lengthMs()));
}

std::int64_t Player::lengthMs() {
    if (lengthMs_ <= 0 && playbin_) {
        gint64 duration = 0;
        if (gst_element_query_duration(playbin_, GST_FORMAT_TIME, &duration) && duration > 0)
            lengthMs_ = toMs(duration);
    }
    return lengthMs_;
}

std::int64_t Player::positionMs() {
    if (heldPositionMs_) return *heldPositionMs_;
    gint64 position = 0;
    if (playbin_ && !seekRequest_ &&
        gst_element_query_position(playbin_, GST_FORMAT_TIME, &position) && position >= 0)
        lastPositionMs_ = toMs(position);
    const std::int64_t length = lengthMs();
    return length > 0 ? std::min(lastPositionMs_, length) : lastPositionMs_;
}

// --- messages of the pipeline ----------------------------------------------

gboolean Player::onBus(GstBus*, GstMessage* message, gpointer self) {
    auto* player = static_cast<Player*>(self);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        player->onError(message);
        break;
    case GST_MESSAGE_ELEMENT:
        if (const GstStructure* s = gst_message_get_structure(message);
            s && gst_structure_has_name(s, "missing-plugin"))
            player->missingPlugin_ = true;
        break;
    case GST_MESSAGE_ASYNC_DONE:
        if (player->openRequest_ && !player->lengthTimer_)
            player->finishOpen();
        else if (player->seekRequest_)
            player->answerSeek();
        break;
    case GST_MESSAGE_EOS:
        player->onEndOfStream();
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        player->lengthMs_ = 0;
        break;
    default:
        break;
    }
    return G_SOURCE_CONTINUE;
}

void Player::onError(GstMessage* message) {
    GError* error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    const Failure failure = classify(error, missingPlugin_);
    g_clear_error(&error);
    if (openRequest_) {
        // A display that cannot show the picture must not fail the open:
        // the picture then goes nowhere and the sound still plays.
        const bool fromVideoSink =
            videoSink_ && GST_MESSAGE_SRC(message) &&
            (GST_MESSAGE_SRC(message) == GST_OBJECT(videoSink_) ||
             gst_object_has_as_ancestor(GST_MESSAGE_SRC(message), GST_OBJECT(videoSink_)));
        if (fromVideoSink && videoToDisplay_) {
            const Id id = *openRequest_;
            teardown();
            openRequest_ = id;
            if (buildPipeline(false)) return startPreroll();
            return failOpen(Failure::NoDecoder);
        }
        return failOpen(failure);
    }
    if (playbin_) fail(Failure::Playback);
}

void Player::fail(Failure failure) {
    if (failed_) return;
    failed_ = true;
    stopTicks();
    mode_ = Mode::Stop;
    if (seekRequest_) {
        const Id id = *seekRequest_;
        seekRequest_.reset();
        replyError(id, failure);
    }
    // The layer ends this host on a failure; the pipeline is left as it is,
    // since tearing a broken one down can hang.
    channel_.send("n fail " + std::string(hostproto::failureWord(failure)));
}

void Player::onEndOfStream() {
    if (mode_ != Mode::Play) return;
    std::int64_t end = 0;
    if (stopAtMs_ >= 0) {
        end = stopAtMs_;
    } else {
        // Where the duration was unknown or short of the truth, the end of
        // the stream decides it: at the end, position and length agree.
        lengthMs_ = std::max(lengthMs(), positionMs());
        end = lengthMs_;
        atEnd_ = true;
    }
    heldPositionMs_ = end;
    gst_element_set_state(playbin_, GST_STATE_PAUSED);
    mode_ = Mode::Stop;
    stopTicks();
    channel_.send("n end " + std::to_string(playId_));
}

namespace {
// CPU time this process has used, in milliseconds.
std::int64_t cpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}
} // namespace

void Player::startTicks() {
    tickPositionMs_ = -1;
    tickCpuMs_ = cpuMs();
    stillTicks_ = 0;
    if (!tickSource_) tickSource_ = g_timeout_add(tickIntervalMs, &Player::onTick, this);
}

void Player::stopTicks() {
    if (tickSource_) g_source_remove(tickSource_);
    tickSource_ = 0;
}

gboolean Player::onTick(gpointer self) {
    auto* player = static_cast<Player*>(self);
    const std::int64_t position = player->positionMs();
    const std::int64_t cpu = cpuMs();
    GstState state = GST_STATE_VOID_PENDING, pending = GST_STATE_VOID_PENDING;
    gst_element_get_state(player->playbin_, &state, &pending, 0);
    const bool running = state == GST_STATE_PLAYING && pending == GST_STATE_VOID_PENDING;
    // Stuck is a position that does not move while the host burns a core;
    // a sound server that is slow to start, or corks the stream, leaves the
    // position still too, but the host idle.
    const bool spinning = cpu - player->tickCpuMs_ >= std::int64_t(tickIntervalMs) * 8 / 10;
    player->stillTicks_ =
        running && spinning && position == player->tickPositionMs_ ? player->stillTicks_ + 1 : 0;
    player->tickPositionMs_ = position;
    player->tickCpuMs_ = cpu;
    if (player->stillTicks_ >= stalledTicks) {
        player->tickSource_ = 0;
        player->fail(Failure::Stalled);
        return G_SOURCE_REMOVE;
    }
    player->channel_.send("n tick " + std::to_string(position));
    return G_SOURCE_CONTINUE;
}

void Player::replyOk(Id id, const std::string& values) {
    channel_.send("r " + std::to_string(id) + " ok" + (values.empty() ? "" : " " + values));
}

void Player::replyError(Id id, Failure failure) {
    channel_.send("r " + std::to_string(id) + " err " +
                  std::string(hostproto::failureWord(failure)));
}
