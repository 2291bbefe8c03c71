// The classes a stored layout may name.

#include "forms/LayoutReader.h"
#include "forms/TAnimate.h"
#include "forms/TEdit.h"
#include "forms/TFileListBox.h"
#include "forms/TImage.h"
#include "forms/TLabel.h"
#include "forms/TMediaPlayer.h"
#include "forms/TMenuItem.h"
#include "forms/TOpenDialog.h"
#include "forms/TPanel.h"
#include "forms/TPopupMenu.h"
#include "forms/TSpeedButton.h"
#include "forms/TTimer.h"

namespace {
template <class T> TComponent* make(TComponent* owner) {
    return new T(owner);
}

struct ComponentClass {
    const char* name;
    TComponent* (*create)(TComponent* owner);
};
constexpr ComponentClass classes[] = {
    {"TSpeedButton", make<TSpeedButton>},
    {"TFileListBox", make<TFileListBox>},
    {"TAnimate", make<TAnimate>},
    {"TEdit", make<TEdit>},
    {"TMediaPlayer", make<TMediaPlayer>},
    {"TTimer", make<TTimer>},
    {"TXPManifest", make<TXPManifest>},
    {"TPopupMenu", make<TPopupMenu>},
    {"TMenuItem", make<TMenuItem>},
    {"TPanel", make<TPanel>},
    {"TLabel", make<TLabel>},
    {"TImage", make<TImage>},
    {"TOpenDialog", make<TOpenDialog>},
};
} // namespace

TComponent* CreateComponent(const QString& className, TComponent* owner) {
    for (const auto& c : classes)
        if (className == QLatin1String(c.name)) return c.create(owner);
    return nullptr;
}
