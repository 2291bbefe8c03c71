#include "media/NoticeQueue.h"

#include <QMetaObject>
#include <QObject>
#include <algorithm>

NoticeQueue::NoticeQueue(QObject* context) : context_(context) {}

void NoticeQueue::post(MciNotifyTarget* target, MCIDEVICEID device, MciNotifyKind kind) {
    if (!target) return;
    entries_.push_back({target, device, kind});
    schedule();
}

void NoticeQueue::forget(const MciNotifyTarget* target) {
    std::erase_if(entries_, [target](const Entry& e) { return e.target == target; });
}

void NoticeQueue::schedule() {
    if (scheduled_ || entries_.empty()) return;
    scheduled_ = true;
    QMetaObject::invokeMethod(
        context_, [this] { deliverOne(); }, Qt::QueuedConnection);
}

void NoticeQueue::deliverOne() {
    scheduled_ = false;
    if (entries_.empty()) return;
    const Entry entry = entries_.front();
    entries_.pop_front();
    schedule();
    entry.target->MciNotify(entry.device, entry.kind);
}
