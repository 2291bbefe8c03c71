#pragma once
// Completion notices on their way to their targets: each is delivered by a
// queued call through the Qt event loop of the layer's thread, one per event,
// so a target may send new requests (or throw) from MciNotify.

#include "media/Mci.h"

#include <deque>

class QObject;

class NoticeQueue {
public:
    explicit NoticeQueue(QObject* context);
    NoticeQueue(const NoticeQueue&) = delete;
    NoticeQueue& operator=(const NoticeQueue&) = delete;

    void post(MciNotifyTarget* target, MCIDEVICEID device, MciNotifyKind kind);
    // Drops the notices still on their way to a target that goes away.
    void forget(const MciNotifyTarget* target);

private:
    struct Entry {
        MciNotifyTarget* target;
        MCIDEVICEID device;
        MciNotifyKind kind;
    };
    void schedule();
    void deliverOne();

    QObject* context_;
    std::deque<Entry> entries_;
    bool scheduled_ = false;
};
