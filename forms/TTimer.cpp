#include "forms/TTimer.h"

#include "forms/TApplication.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    timer_.setTimerType(Qt::CoarseTimer);
    QObject::connect(&timer_, &QTimer::timeout,
                     [this] { Application->CallHandler(OnTimer, this); });
}

void TTimer::SetEnabled(const bool& v) {
    enabled_ = v;
    update();
}

void TTimer::SetInterval(const int& v) {
    interval_ = v;
    update();
}

// Ticks start once the layout is read, so no handler runs on a half-made form.
void TTimer::update() {
    if (loaded_ && enabled_ && interval_ > 0 && OnTimer)
        timer_.start(interval_);
    else
        timer_.stop();
}

void TTimer::Loaded() {
    loaded_ = true;
    update();
}

bool TTimer::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("Interval"))
        interval_ = value.Int();
    else if (name == QLatin1String("Enabled"))
        enabled_ = value.Bool();
    else
        return TComponent::SetProperty(name, value);
    return true;
}

bool TTimer::SetEvent(const QString& name, TNotifyEvent handler) {
    if (name != QLatin1String("OnTimer")) return false;
    OnTimer = std::move(handler);
    update();
    return true;
}
