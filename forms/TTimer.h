#pragma once
// Raises OnTimer every Interval milliseconds while Enabled.

#include "forms/Property.h"
#include "forms/TComponent.h"

#include <QTimer>

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(const bool& v);
    int GetInterval() const { return interval_; }
    void SetInterval(const int& v);
    LUNOHRAI_PROPERTY(TTimer, bool, Enabled);
    LUNOHRAI_PROPERTY(TTimer, int, Interval);
    TNotifyEvent OnTimer;

    bool SetProperty(const QString& name, const LayoutValue& value) override;
    bool SetEvent(const QString& name, TNotifyEvent handler) override;
    void Loaded() override;

private:
    void update();
    QTimer timer_;
    bool enabled_ = true;
    int interval_ = 1000;
    bool loaded_ = false;
};

// Stands for the program's visual-style manifest; does nothing at run time.
class TXPManifest : public TComponent {
public:
    using TComponent::TComponent;
};
