#include "forms/TMediaPlayer.h"

#include "forms/TApplication.h"

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
        img = QImage(QStringLiteral(":/forms/mediaplayer/%1%2.png")
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
            Application->CallHandler([this, b](TObject*) { owner_->Click(b); }, owner_);
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
                [this](TObject*) { owner_->Click(owner_->visible_[owner_->focus_]); }, owner_);
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

TMediaPlayer::~TMediaPlayer() = default;

QRect TMediaPlayer::FaceRect(int index) const {
    return QRect(index * (FaceWidth - 1), 0, FaceWidth, GetHeight());
}

bool TMediaPlayer::ButtonEnabled(TMPBtnType b) const {
    return deviceOpen_ && autoEnabled_[b];
}

void TMediaPlayer::requireDevice() const {
    if (!deviceOpen_) throw EMCIDeviceError(QStringLiteral("No MCI device open"));
}

void TMediaPlayer::Play() {
    requireDevice();
}
void TMediaPlayer::Pause() {
    requireDevice();
}
void TMediaPlayer::Stop() {
    requireDevice();
}

void TMediaPlayer::Click(TMPBtnType button) {
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
        requireDevice();
        break;
    }
    bar_->update();
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
    } else if (name == QLatin1String("AutoEnable") || name == QLatin1String("AutoOpen") ||
               name == QLatin1String("AutoRewind") || name == QLatin1String("Shareable")) {
        value.Bool();
    } else {
        return TControl::SetProperty(name, value);
    }
    return true;
}
