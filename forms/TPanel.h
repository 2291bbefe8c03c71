#pragma once
// A container drawn as up to two bevels (outer, then inner) around a face of
// its colour, with an optional caption centred on it.

#include "forms/TControl.h"

class PanelWidget;

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TControl {
public:
    explicit TPanel(TComponent* AOwner);

    QString GetCaption() const { return caption_; }
    void SetCaption(const QString& c);
    LUNOHRAI_PROPERTY(TPanel, QString, Caption);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    TBevelCut BevelInner() const { return bevelInner_; }
    int BevelWidth() const { return bevelWidth_; }
    int BorderWidth() const { return borderWidth_; }

    bool SetProperty(const QString& name, const LayoutValue& value) override;

private:
    friend class PanelWidget;
    PanelWidget* view_;
    QString caption_;
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
};
