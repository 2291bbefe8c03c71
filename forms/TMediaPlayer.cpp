#include "forms/TMediaPlayer.h"

#include "forms/Glyph.h"
#include "forms/TApplication.h"

#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

namespace {
// The pictures of the buttons that have one; the others show a blank face.
const char* const pictureNames[MPButtonCount] = {"play",  "pause", "stop",  nullptr, nullptr,
                                                 nullptr, nullptr, nullptr, nullptr};

int buttonFromName(const QString& name) {
    static const QStringList names{"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                   "btStep", "btBack",  "btRecord", "btEject"};
    return static_cast<int>(names.indexOf(name));
}

QImage picture(TMPBtnType b, bool coloured) {
    if (!pictureNames[b]) return {};
    static QImage cache[MPButtonCount][2];
    QImage& img = cache[b][coloured];
    if (img.isNull())
        img = LoadPicture(QStringLiteral(":/forms/mediaplayer/%1%2.png")
                              .arg(QLatin1String(pictureNames[b]),
                                   coloured ? QString() : QStringLiteral("-grey")));
    return img;
}
} // namespace

class MediaBarWidget : public QWidget {
public:
    explicit MediaBarWidget(TMediaPlayer* owner) : owner_(owner) {
        setFocusPolicy(Qt::StrongFocus);
    }
    int pressed = -1;    // index of the face the left button went down on
    bool inside = false; // the pointer is still over it

protected:
    int faceAt(QPoint p) const {
        for (size_t i = 0; i < owner_->visible_.size(); ++i)
            if (owner_->FaceRect(int(i)).contains(p)) return int(i);
        return -1;
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        for (size_t i = 0; i < owner_->visible_.size(); ++i) {
            const TMPBtnType b = owner_->visible_[i];
            const QRect r = owner_->FaceRect(int(i));
            QStyleOptionButton opt;
            opt.initFrom(this);
            opt.rect = r;
            const bool down = pressed == int(i) && inside;
            opt.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
            opt.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
            style()->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, this);
            const QImage img = picture(b, owner_->ButtonEnabled(b));
            if (!img.isNull()) {
                const QPoint at = r.center() - QPoint(img.width() / 2, img.height() / 2) +
                                  (down ? QPoint(1, 1) : QPoint());
                p.drawImage(QRect(at, img.size()), img);
            }
            if (hasFocus() && owner_->focus_ == int(i)) {
                QStyleOptionFocusRect focus;
                focus.initFrom(this);
                focus.rect = r.adjusted(3, 3, -3, -3);
                style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
            }
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return e->ignore();
        const int i = faceAt(e->position().toPoint());
        if (i < 0 || !owner_->ButtonEnabled(owner_->visible_[i])) return;
        pressed = i, inside = true;
        update();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (pressed < 0) return;
        const bool now = faceAt(e->position().toPoint()) == pressed;
        if (now != inside) inside = now, update();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton || pressed < 0) return;
        const int i = pressed;
        const bool fire = faceAt(e->position().toPoint()) == i;
        pressed = -1, inside = false;
        update();
        if (fire) {
            const TMPBtnType b = owner_->visible_[i];
            Application->CallHandler(
                [this, b](TObject*) { owner_->press(b, TMediaPlayer::Source::Mouse); }, owner_);
        }
    }
    void keyPressEvent(QKeyEvent* e) override {
        const int last = int(owner_->visible_.size()) - 1;
        if (e->key() == Qt::Key_Left && owner_->focus_ > 0)
            --owner_->focus_, update();
        else if (e->key() == Qt::Key_Right && owner_->focus_ < last)
            ++owner_->focus_, update();
        else if (e->key() == Qt::Key_Space && last >= 0)
            Application->CallHandler(
                [this](TObject*) {
                    owner_->press(owner_->visible_[owner_->focus_], TMediaPlayer::Source::Keyboard);
                },
                owner_);
        else if (e->key() != Qt::Key_Left && e->key() != Qt::Key_Right)
            QWidget::keyPressEvent(e);
    }
    void focusInEvent(QFocusEvent* e) override { update(), QWidget::focusInEvent(e); }
    void focusOutEvent(QFocusEvent* e) override { update(), QWidget::focusOutEvent(e); }

private:
    TMediaPlayer* owner_;
};

TMediaPlayer::TMediaPlayer(TComponent* AOwner) : TControl(AOwner, new MediaBarWidget(this), true) {
    bar_ = static_cast<MediaBarWidget*>(Widget());
    SetTabStop(true);
}

TMediaPlayer::~TMediaPlayer() {
    // Playback ends with the bar; nothing can be reported any more.
    if (deviceOpen_) mciSendCommandA(deviceId_, MCI_CLOSE, MCI_WAIT);
}

QRect TMediaPlayer::FaceRect(int index) const {
    return QRect(index * (FaceWidth - 1), 0, FaceWidth, GetHeight());
}

bool TMediaPlayer::ButtonEnabled(TMPBtnType b) const {
    if (!autoEnable_) return true;
    return deviceOpen_ && autoEnabled_[b];
}

// --- requests ------------------------------------------------------------

template <class Parms>
MCIERROR TMediaPlayer::send(MciCommand command, MciFlags flags, Parms& parms) {
    parms.callback = this;
    return error_ = mciSendCommandA(deviceId_, command, flags, parms);
}

MCIERROR TMediaPlayer::send(MciCommand command, MciFlags flags) {
    MciGenericParms parms;
    return send(command, flags, parms);
}

std::uint32_t TMediaPlayer::status(MciStatusItem item, MCIERROR* error) {
    MciStatusParms parms;
    parms.item = item;
    const MCIERROR result = send(MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, parms);
    if (error) *error = result;
    return parms.result;
}

bool TMediaPlayer::capability(MciCapability item) {
    MciGetDevCapsParms parms;
    parms.item = item;
    return send(MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM | MCI_WAIT, parms) == MCIERR_NONE &&
           parms.result != 0;
}

void TMediaPlayer::requireDevice() const {
    if (!deviceOpen_) throw EMCIDeviceError(QStringLiteral("No MCI device open"));
}

void TMediaPlayer::raiseError() const {
    char text[4096];
    if (!mciGetErrorStringA(error_, text, sizeof text))
        throw EMCIDeviceError(QStringLiteral("Unknown error code"));
    throw EMCIDeviceError(QString::fromUtf8(text));
}

void TMediaPlayer::Open() {
    Close();
    MciOpenParms parms;
    parms.elementName = QFile::encodeName(fileName_).toStdString();
    MciFlags flags = MCI_OPEN_ELEMENT | MCI_WAIT;
    if (shareable_) flags |= MCI_OPEN_SHAREABLE;
    deviceId_ = 0;
    if (send(MCI_OPEN, flags, parms) != MCIERR_NONE) {
        // Even a device whose close failed is let go: the bar holds none now.
        deviceOpen_ = false;
        greyAll();
        raiseError();
    }
    deviceOpen_ = true;
    deviceId_ = parms.deviceId;
    caps_.canPlay = capability(MCI_GETDEVCAPS_CAN_PLAY);
    caps_.canRecord = capability(MCI_GETDEVCAPS_CAN_RECORD);
    caps_.canEject = capability(MCI_GETDEVCAPS_CAN_EJECT);
    caps_.hasVideo = capability(MCI_GETDEVCAPS_HAS_VIDEO);
    greyAll();
    setState(btPlay, caps_.canPlay);
    setState(btRecord, caps_.canRecord);
    setState(btEject, caps_.canEject);
    // Seeking to either end works on every device; stepping needs frames.
    setState(btNext, true);
    setState(btPrev, true);
    setState(btStep, caps_.hasVideo);
    setState(btBack, caps_.hasVideo);
    if (status(MCI_STATUS_MODE) == MCI_MODE_PLAY) applyPressRow(btPlay);
}

void TMediaPlayer::Close() {
    if (!deviceOpen_) return;
    if (send(MCI_CLOSE, MCI_WAIT) != MCIERR_NONE) return;
    deviceOpen_ = false;
    deviceId_ = 0;
    greyAll();
}

void TMediaPlayer::Play() {
    requireDevice();
    if (autoRewind_) {
        MCIERROR positionError = MCIERR_NONE, lengthError = MCIERR_NONE;
        const std::uint32_t position = status(MCI_STATUS_POSITION, &positionError);
        const std::uint32_t length = status(MCI_STATUS_LENGTH, &lengthError);
        if (!positionError && !lengthError && position == length) {
            MciSeekParms seek;
            send(MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, seek);
        }
    }
    // Its outcome stays in Error(): a device that cannot play fails silently.
    MciPlayParms play;
    send(MCI_PLAY, MCI_NOTIFY, play);
}

void TMediaPlayer::Pause() {
    requireDevice();
    const std::uint32_t mode = status(MCI_STATUS_MODE);
    if (mode == MCI_MODE_PLAY) {
        send(MCI_PAUSE, MCI_WAIT);
    } else if (mode == MCI_MODE_PAUSE) {
        MciGenericParms resume;
        if (send(MCI_RESUME, MCI_NOTIFY, resume) != MCIERR_NONE) Play();
    }
}

void TMediaPlayer::Stop() {
    requireDevice();
    send(MCI_STOP, MCI_WAIT);
}

// --- automatic states ----------------------------------------------------

void TMediaPlayer::setState(TMPBtnType button, bool enabled) {
    if (autoEnabled_[button] == enabled) return;
    autoEnabled_[button] = enabled;
    bar_->update();
}

void TMediaPlayer::greyAll() {
    for (int b = 0; b < MPButtonCount; ++b)
        setState(static_cast<TMPBtnType>(b), false);
}

void TMediaPlayer::applyStoppedRow() {
    setState(btPlay, caps_.canPlay);
    setState(btPause, false);
    setState(btStop, false);
}

void TMediaPlayer::applyPressRow(TMPBtnType button) {
    switch (button) {
    case btPlay:
        setState(btPlay, false);
        setState(btPause, true);
        setState(btStop, true);
        break;
    case btPause:
        setState(btPlay, caps_.canPlay);
        break;
    case btStop:
        applyStoppedRow();
        break;
    default:
        break;
    }
}

void TMediaPlayer::MciNotify(MCIDEVICEID, MciNotifyKind) {
    if (!deviceOpen_) return;
    MCIERROR error = MCIERR_NONE;
    const std::uint32_t mode = status(MCI_STATUS_MODE, &error);
    if (error != MCIERR_NONE) {
        // The device failed (its media host died or hung): it is of no more
        // use, so it is let go and the bar greys.
        Close();
        return;
    }
    if (mode == MCI_MODE_STOP) applyStoppedRow();
}

// --- presses -------------------------------------------------------------

void TMediaPlayer::runAction(TMPBtnType button) {
    switch (button) {
    case btPlay:
        Play();
        break;
    case btPause:
        Pause();
        break;
    case btStop:
        Stop();
        break;
    default:
        // The other kinds have no action of their own here.
        requireDevice();
        break;
    }
}

void TMediaPlayer::press(TMPBtnType button, Source source) {
    error_ = MCIERR_NONE;
    runAction(button); // an error it raises skips the states
    if (source == Source::Keyboard || (error_ == MCIERR_NONE && deviceOpen_)) applyPressRow(button);
}

void TMediaPlayer::Click(TMPBtnType button) {
    press(button, Source::Mouse);
}

bool TMediaPlayer::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("VisibleButtons")) {
        visible_.clear();
        for (const QString& item : value.SetItems()) {
            const int b = buttonFromName(item);
            if (b < 0) throw ELayoutValueError{QStringLiteral("unknown button '%1'").arg(item)};
            visible_.push_back(static_cast<TMPBtnType>(b));
        }
        std::sort(visible_.begin(), visible_.end());
    } else if (name == QLatin1String("AutoEnable")) {
        autoEnable_ = value.Bool();
        bar_->update();
    } else if (name == QLatin1String("AutoRewind")) {
        autoRewind_ = value.Bool();
    } else if (name == QLatin1String("Shareable")) {
        shareable_ = value.Bool();
    } else if (name == QLatin1String("AutoOpen")) {
        // Opening at creation is not wanted by any window here; only "False" is taken.
        if (value.Bool())
            throw ELayoutValueError{QStringLiteral("AutoOpen = True is not supported")};
    } else if (name == QLatin1String("FileName")) {
        fileName_ = value.Str();
    } else {
        return TControl::SetProperty(name, value);
    }
    return true;
}
