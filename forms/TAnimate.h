#pragma once
// Plays an AVI clip frame by frame: frames StartFrame to StopFrame (counted
// from 1), Repetitions times or, with 0, without end. With Transparent the
// clip's background (the first frame's top-left colour) shows the control's
// own colour; with AutoSize the control takes the frame size when the clip opens.

#include "forms/TControl.h"

#include <QImage>
#include <QTimer>
#include <vector>

class AnimateWidget;

class TAnimate : public TControl {
public:
    explicit TAnimate(TComponent* AOwner);

    bool GetActive() const { return active_; }
    void SetActive(const bool& v);
    LUNOHRAI_PROPERTY(TAnimate, bool, Active);
    int GetStartFrame() const { return startFrame_; }
    void SetStartFrame(const int& v) { startFrame_ = v; }
    int GetStopFrame() const { return stopFrame_; }
    void SetStopFrame(const int& v) { stopFrame_ = v; }
    LUNOHRAI_PROPERTY(TAnimate, int, StartFrame);
    LUNOHRAI_PROPERTY(TAnimate, int, StopFrame);
    int Repetitions = 0;
    // The clip: a file, or the component library's find-file clip (CommonAVI aviFindFile).
    QString FileName;

    bool Open() const { return !frames_.empty(); }
    int FrameCount() const { return int(frames_.size()); }
    // The frame shown now, counted from 1 (0 while no clip is open).
    int CurrentFrame() const { return current_; }
    // Called on every frame shown; for observers such as tests and benchmarks.
    std::function<void(int frame)> OnFrameShown;

    bool SetProperty(const QString& name, const LayoutValue& value) override;
    // The control starts playing once the form has its final layout.
    void LayoutDone() override;

private:
    friend class AnimateWidget;
    void openClip();
    void play(int from, int to);
    void stop();
    void showFrame(int frame);
    void tick();

    AnimateWidget* view_;
    QTimer timer_;
    std::vector<QImage> frames_; // background keyed out when Transparent
    bool active_ = false;
    bool autoSize_ = true, center_ = true, transparent_ = true;
    int startFrame_ = 1, stopFrame_ = 0;
    int playTo_ = 0, playFrom_ = 1, loopsDone_ = 0;
    int current_ = 0;
    bool laidOut_ = false;
};
