#pragma once
// A raised push-button face that never takes the keyboard focus. Its glyph or
// caption is centred; it fires OnClick when the left button, pressed over it,
// is released over it.

#include "forms/TControl.h"

#include <QImage>

class SpeedButtonWidget;

class TSpeedButton : public TControl {
public:
    explicit TSpeedButton(TComponent* AOwner);

    QString GetCaption() const { return caption_; }
    void SetCaption(const QString& c);
    LUNOHRAI_PROPERTY(TSpeedButton, QString, Caption);
    const QImage& Glyph() const { return glyph_; }
    TNotifyEvent OnClick;
    // Runs the click as a release over the button does.
    void Click();
    bool Down() const;

    bool SetProperty(const QString& name, const LayoutValue& value) override;
    bool SetEvent(const QString& name, TNotifyEvent handler) override;

private:
    friend class SpeedButtonWidget;
    SpeedButtonWidget* button_;
    QString caption_;
    QImage glyph_; // with its transparent colour already taken out
    int spacing_ = 4;
};
