#pragma once
// One device of the media host: a GStreamer playbin on one file, driven by
// the requests of the protocol and answering with replies and notices.

#include "media/host/Channel.h"
#include "media/protocol/HostProtocol.h"

#include <cstdint>
#include <gst/gst.h>
#include <optional>
#include <string>
#include <string_view>

class Player {
public:
    explicit Player(Channel& channel);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    void handle(std::string_view request);

private:
    using Id = std::uint64_t;
    void open(Id id, const std::string& path, bool withVideo);
    void close(Id id);
    void play(Id id, std::int64_t fromMs, std::int64_t toMs);
    void halt(Id id, hostproto::Mode mode);
    void seek(Id id, std::optional<std::int64_t> targetMs);
    void status(Id id);

    bool buildPipeline(bool videoToDisplay);
    void teardown();
    void startPreroll();
    void finishOpen();
    void answerOpen();
    bool moveTo(std::int64_t startMs, std::int64_t stopMs);
    static gboolean onLengthPoll(gpointer self);
    void failOpen(hostproto::Failure failure);
    void onError(GstMessage* message);
    void onEndOfStream();
    void fail(hostproto::Failure failure);

    static gboolean onBus(GstBus*, GstMessage* message, gpointer self);
    static void onElementSetup(GstElement*, GstElement* element, gpointer);
    static gboolean onTick(gpointer self);
    static gboolean onSeekSettled(gpointer self);
    void startTicks();
    void stopTicks();
    void answerSeek();

    std::int64_t positionMs();
    std::int64_t lengthMs();

    void replyOk(Id id, const std::string& values = {});
    void replyError(Id id, hostproto::Failure failure);

    Channel& channel_;
    GstElement* playbin_ = nullptr;
    GstElement* videoSink_ = nullptr;
    guint busWatch_ = 0;
    guint tickSource_ = 0;
    guint seekTimer_ = 0;
    guint lengthTimer_ = 0;
    int lengthWaits_ = 0;
    bool hasVideo_ = false;
    bool hasAudio_ = false;
    std::string uri_;
    bool withVideo_ = true;
    bool videoToDisplay_ = true;

    std::optional<Id> openRequest_; // open waiting for the pipeline to preroll
    std::optional<Id> seekRequest_; // seek waiting for the pipeline to settle
    bool missingPlugin_ = false;
    bool failed_ = false;

    hostproto::Mode mode_ = hostproto::Mode::Stop;
    Id playId_ = 0;
    std::int64_t lengthMs_ = 0;
    std::int64_t lastPositionMs_ = 0;
    // Where the device stands once the pipeline has run out (end of the media
    // or of a play's `to`): reported as the position, and a play must move
    // the pipeline back there before it can run again.
    std::optional<std::int64_t> heldPositionMs_;
    bool atEnd_ = false;
    std::int64_t stopAtMs_ = -1;
    std::int64_t tickPositionMs_ = -1;
    std::int64_t tickCpuMs_ = 0;
    int stillTicks_ = 0;
};
