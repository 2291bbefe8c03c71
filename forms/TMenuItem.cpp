#include "forms/TMenuItem.h"

#include "forms/Exceptions.h"
#include "forms/Glyph.h"
#include "forms/TApplication.h"
#include "forms/TPopupMenu.h"

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    if (menu_) menu_->RemoveItem(this);
}

void TMenuItem::Click() {
    if (!enabled_ || !OnClick) return;
    if (Application)
        Application->CallHandler(OnClick, this);
    else
        OnClick(this);
}

bool TMenuItem::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("Caption"))
        caption_ = value.Str();
    else if (name == QLatin1String("ShortCut"))
        shortCut_ = value.Int();
    else if (name == QLatin1String("Enabled"))
        enabled_ = value.Bool();
    else if (name == QLatin1String("Default"))
        default_ = value.Bool();
    else if (name == QLatin1String("Hint"))
        hint_ = value.Str();
    else if (name == QLatin1String("Bitmap")) {
        // A picture that is not there is a fault of the layout, reported with
        // its file and line; reading it waits until the menu shows it.
        if (!PictureReadable(value.Str()))
            throw ELayoutValueError{QStringLiteral("Cannot load picture %1").arg(value.Str())};
        bitmapPath_ = value.Str();
        bitmap_ = QImage();
    } else
        return TComponent::SetProperty(name, value);
    return true;
}

const QImage& TMenuItem::Bitmap() const {
    if (bitmap_.isNull() && !bitmapPath_.isEmpty())
        bitmap_ = TransparentByBottomLeft(ReadPicture(bitmapPath_));
    return bitmap_;
}

bool TMenuItem::SetEvent(const QString& name, TNotifyEvent handler) {
    if (name != QLatin1String("OnClick")) return false;
    OnClick = std::move(handler);
    return true;
}
