#pragma once
// A line of text drawn from the top-left corner of its box, left-aligned and
// cut off at the box. With AutoSize the box takes the size of the text in the
// label's font; with Transparent the parent shows behind the text, otherwise
// the label's colour (by default its parent's) fills the box.

#include "forms/TControl.h"

class LabelWidget;

class TLabel : public TControl {
public:
    explicit TLabel(TComponent* AOwner);

    QString GetCaption() const { return caption_; }
    void SetCaption(const QString& c);
    LUNOHRAI_PROPERTY(TLabel, QString, Caption);
    bool GetAutoSize() const { return autoSize_; }
    void SetAutoSize(const bool& v);
    LUNOHRAI_PROPERTY(TLabel, bool, AutoSize);
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(const bool& v);
    LUNOHRAI_PROPERTY(TLabel, bool, Transparent);

    // With AutoSize, the size of the text (measured now if it was put off).
    int GetWidth() const override;
    int GetHeight() const override;

    bool SetProperty(const QString& name, const LayoutValue& value) override;
    void ScaleBy(int num, int den) override;

protected:
    void Changed() override;

private:
    friend class LabelWidget;
    void fitText();
    void fitPendingText();

    LabelWidget* view_;
    QString caption_;
    bool autoSize_ = true;
    bool transparent_ = false;
    bool fitPending_ = false;
};
