#include "forms/TImage.h"

#include "forms/Glyph.h"
#include "forms/TApplication.h"

#include <QFile>
#include <QPainter>
#include <QScreen>

class ImageWidget : public QWidget {
public:
    explicit ImageWidget(TImage* owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        const QImage& picture = owner_->bitmap();
        if (picture.isNull()) return;
        QPainter(this).drawImage(QPoint(0, 0), picture);
    }

private:
    TImage* owner_;
};

TImage::TImage(TComponent* AOwner) : TControl(AOwner, new ImageWidget(this), false) {
    view_ = static_cast<ImageWidget*>(Widget());
}

void TImage::LoadPicture(const QString& path) {
    QFile file(path);
    QByteArray stream;
    if (file.open(QIODevice::ReadOnly)) stream = file.readAll();
    if (JpegImage::IsJpeg(stream)) {
        jpeg_.emplace(std::move(stream));
        image_ = QImage();
    } else {
        image_ = ::LoadPicture(path);
        jpeg_.reset();
    }
    view_->update();
}

const QImage& TImage::bitmap() {
    if (!jpeg_) return image_;
    try {
        const QScreen* screen = view_->screen();
        return jpeg_->Bitmap(screen ? screen->depth() : 32);
    } catch (const Exception& e) {
        // Reported after the paint: an error box must not open inside painting.
        const QString message = e.Message();
        QMetaObject::invokeMethod(
            view_,
            [message] {
                if (Application) Application->ShowException(message);
            },
            Qt::QueuedConnection);
        return image_;
    }
}

bool TImage::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("Picture")) {
        LoadPicture(value.Str());
    } else if (name == QLatin1String("Stretch") || name == QLatin1String("Center") ||
               name == QLatin1String("Proportional") || name == QLatin1String("Transparent") ||
               name == QLatin1String("AutoSize")) {
        // The picture is drawn as it is: opaque, natural size, top-left.
        if (value.Bool()) throw ELayoutValueError{QStringLiteral("only False is supported")};
    } else {
        return TControl::SetProperty(name, value);
    }
    return true;
}
