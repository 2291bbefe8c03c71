#include "forms/TFileListBox.h"

#include "forms/TEdit.h"

#include <QListView>

TFileListBox::TFileListBox(TComponent* AOwner) : TControl(AOwner, new QListView, true) {
    view_ = static_cast<QListView*>(Widget());
    view_->setUniformItemSizes(true);
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetColor(clWindow);
    SetTabStop(true);
}

TFileListBox::~TFileListBox() = default;

bool TFileListBox::SetProperty(const QString& name, const LayoutValue& value) {
    if (name == QLatin1String("ItemHeight"))
        itemHeight_ = value.Int();
    else if (name == QLatin1String("FileEdit"))
        fileEditName_ = value.Ident();
    else if (name == QLatin1String("Mask"))
        value.Str();
    else if (name == QLatin1String("FileType"))
        value.SetItems();
    else if (name == QLatin1String("IntegralHeight") || name == QLatin1String("ShowGlyphs"))
        value.Bool();
    else
        return TControl::SetProperty(name, value);
    return true;
}

void TFileListBox::Loaded() {
    TControl::Loaded();
    if (!fileEditName_.isEmpty()) {
        fileEdit_ = dynamic_cast<TEdit*>(Owner()->FindComponent(fileEditName_));
        if (!fileEdit_)
            throw ELayoutValueError{QStringLiteral("no edit named '%1'").arg(fileEditName_)};
    }
}
