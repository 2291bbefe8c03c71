#pragma once
// Shows a picture opaque, at its natural size, from the top-left corner of its
// box; what does not fit is cut off. A JPEG picture is decoded when it is
// first painted and the decoded image serves every later paint.

#include "forms/JpegImage.h"
#include "forms/TControl.h"

#include <QImage>
#include <optional>

class ImageWidget;

class TImage : public TControl {
public:
    explicit TImage(TComponent* AOwner);

    // Loads the picture from a file or resource; raises EInvalidGraphic when it
    // cannot be read. A JPEG stream is kept as it is until its first paint.
    void LoadPicture(const QString& path);
    // The JPEG picture, or nullptr when the picture is of another kind or none.
    const JpegImage* Jpeg() const { return jpeg_ ? &*jpeg_ : nullptr; }

    bool SetProperty(const QString& name, const LayoutValue& value) override;

private:
    friend class ImageWidget;
    // The image to draw; decodes a JPEG picture on the first call. A picture
    // that cannot be decoded is reported in the error box once and drawn as nothing.
    const QImage& bitmap();

    ImageWidget* view_;
    std::optional<JpegImage> jpeg_;
    QImage image_; // a picture of any other kind
};
