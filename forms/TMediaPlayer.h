#pragma once
// The media button bar: a row of raised faces (Play, Pause, Stop ...) drawn
// by the bar itself, each showing its coloured picture while usable and its
// greyed picture otherwise.

#include "forms/TControl.h"

#include <QImage>
#include <array>

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
inline constexpr int MPButtonCount = 9;

class MediaBarWidget;

class TMediaPlayer : public TControl {
public:
    explicit TMediaPlayer(TComponent* AOwner);
    ~TMediaPlayer() override;

    // The shown buttons, left to right.
    const std::vector<TMPBtnType>& VisibleButtons() const { return visible_; }
    // Whether a button is usable now (its automatic state while a device is open).
    bool ButtonEnabled(TMPBtnType b) const;
    bool DeviceOpen() const { return deviceOpen_; }
    // The shown button that carries the keyboard focus mark.
    TMPBtnType FocusedButton() const { return visible_.empty() ? btPlay : visible_[focus_]; }

    void Play();
    void Pause();
    void Stop();
    // Runs the action of a button, as a click on it does.
    void Click(TMPBtnType button);

    bool SetProperty(const QString& name, const LayoutValue& value) override;

    // Each face is 29 pixels wide; neighbours share their one-pixel edge.
    static constexpr int FaceWidth = 29;
    QRect FaceRect(int index) const;

protected:
    void requireDevice() const;
    std::array<bool, MPButtonCount> autoEnabled_{};
    bool deviceOpen_ = false;

private:
    friend class MediaBarWidget;
    MediaBarWidget* bar_;
    std::vector<TMPBtnType> visible_{btPlay, btPause, btStop,   btNext, btPrev,
                                     btStep, btBack,  btRecord, btEject};
    int focus_ = 0;
};
