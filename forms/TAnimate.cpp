#include "forms/TAnimate.h"

#include "forms/AviClip.h"
#include "forms/Exceptions.h"
#include "forms/Glyph.h"

#include <QPainter>

class AnimateWidget : public QWidget {
public:
    explicit AnimateWidget(TAnimate* owner) : owner_(owner) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window));
        const int i = owner_->current_ - 1;
        if (i < 0 || i >= int(owner_->frames_.size())) return;
        const QImage& frame = owner_->frames_[i];
        const QPoint at =
            owner_->center_ ? QPoint((width() - frame.width()) / 2, (height() - frame.height()) / 2)
                            : QPoint();
        p.drawImage(at, frame);
    }

private:
    TAnimate* owner_;
};

TAnimate::TAnimate(TComponent* AOwner) : TControl(AOwner, new AnimateWidget(this), true) {
    view_ = static_cast<AnimateWidget*>(Widget());
    timer_.setTimerType(Qt::CoarseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
}

void TAnimate::openClip() {
    if (!frames_.empty()) return;
    std::vector<QImage> frames;
    int usPerFrame = 100000;
    try {
        const AviClip clip = AviClip::load(FileName);
        frames = clip.frames();
        usPerFrame = int(clip.microsecondsPerFrame());
    } catch (const std::exception&) {
        throw EInvalidOperation(QStringLiteral("Cannot open AVI"));
    }
    if (frames.empty()) throw EInvalidOperation(QStringLiteral("Cannot open AVI"));
    if (transparent_) {
        // The clip's background, its first frame's top-left colour, shows the control's colour.
        const QRgb key = frames.front().pixel(0, 0);
        for (QImage& f : frames)
            f = TransparentColour(f, key);
    }
    frames_ = std::move(frames);
    timer_.setInterval(std::max(10, usPerFrame / 1000));
    if (autoSize_)
        SetBounds(GetLeft(), GetTop(), frames_.front().width(), frames_.front().height());
    // Opening resets the frame range to the whole clip.
    startFrame_ = 1;
    stopFrame_ = int(frames_.size());
}

void TAnimate::play(int from, int to) {
    playFrom_ = std::clamp(from, 1, FrameCount());
    playTo_ = std::clamp(to, playFrom_, FrameCount());
    loopsDone_ = 0;
    showFrame(playFrom_);
    timer_.start();
}

void TAnimate::stop() {
    timer_.stop();
    if (Open()) showFrame(startFrame_);
}

void TAnimate::tick() {
    if (current_ < playTo_) return showFrame(current_ + 1);
    ++loopsDone_;
    if (Repetitions > 0 && loopsDone_ >= Repetitions) {
        timer_.stop();
        active_ = false;
        return;
    }
    showFrame(playFrom_);
}

void TAnimate::showFrame(int frame) {
    current_ = frame;
    view_->update();
    if (OnFrameShown) OnFrameShown(frame);
}

void TAnimate::SetActive(const bool& v) {
    if (v == active_ && (!v || timer_.isActive())) return;
    if (!v) {
        active_ = false;
        stop();
        return;
    }
    if (!laidOut_) { // noted now, started once the form is laid out
        active_ = true;
        return;
    }
    // The range is taken before the clip opens: the first playing uses the
    // stored frames, every later one the range the opening set.
    const int from = startFrame_, to = stopFrame_;
    openClip();
    active_ = true;
    play(from, to > 0 ? to : FrameCount());
}

void TAnimate::LayoutDone() {
    laidOut_ = true;
    if (active_) {
        active_ = false;
        SetActive(true);
    }
}

bool TAnimate::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("Active"))
        active_ = value.Bool();
    else if (name == QLatin1String("StartFrame"))
        startFrame_ = value.Int();
    else if (name == QLatin1String("StopFrame"))
        stopFrame_ = value.Int();
    else if (name == QLatin1String("Repetitions"))
        Repetitions = value.Int();
    else if (name == QLatin1String("AutoSize"))
        autoSize_ = value.Bool();
    else if (name == QLatin1String("Center"))
        center_ = value.Bool();
    else if (name == QLatin1String("Transparent"))
        transparent_ = value.Bool();
    else if (name == QLatin1String("Timers"))
        value.Bool(); // always played by a timer of the loop
    else if (name == QLatin1String("FileName"))
        FileName = value.Str();
    else if (name == QLatin1String("CommonAVI")) {
        if (value.Ident() == QLatin1String("aviFindFile"))
            FileName = QStringLiteral(":/forms/findfile.avi");
        else if (value.Ident() != QLatin1String("aviNone"))
            throw ELayoutValueError{QStringLiteral("no clip '%1'").arg(value.text)};
    } else
        return TControl::SetProperty(name, value);
    return true;
}
