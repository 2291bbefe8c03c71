#pragma once
// One command of a menu: caption ("-" for a separator line), shortcut,
// picture, enabled and default state, hint, and the handler it runs.

#include "forms/Property.h"
#include "forms/ShortCut.h"
#include "forms/TComponent.h"

#include <QImage>

class TPopupMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    QString GetCaption() const { return caption_; }
    void SetCaption(const QString& c) { caption_ = c; }
    TShortCut GetShortCut() const { return shortCut_; }
    void SetShortCut(const TShortCut& s) { shortCut_ = s; }
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(const bool& v) { enabled_ = v; }
    bool GetDefault() const { return default_; }
    void SetDefault(const bool& v) { default_ = v; }
    QString GetHint() const { return hint_; }
    void SetHint(const QString& h) { hint_ = h; }
    LUNOHRAI_PROPERTY(TMenuItem, QString, Caption);
    LUNOHRAI_PROPERTY(TMenuItem, TShortCut, ShortCut);
    LUNOHRAI_PROPERTY(TMenuItem, bool, Enabled);
    LUNOHRAI_PROPERTY(TMenuItem, bool, Default);
    LUNOHRAI_PROPERTY(TMenuItem, QString, Hint);

    // The picture as drawn: pixels of its bottom-left pixel's colour are
    // transparent. Null when the item has none. Read at its first use: the
    // menu may never be opened in a run.
    const QImage& Bitmap() const;
    // A separator line rather than a command.
    bool IsLine() const { return caption_ == QLatin1String("-"); }
    // The menu that holds the item, or nullptr.
    TPopupMenu* Menu() const { return menu_; }

    TNotifyEvent OnClick;
    // Runs the command when the item is enabled; an error it raises goes to
    // the error box.
    void Click();

    bool SetProperty(const QString& name, const LayoutValue& value) override;
    bool SetEvent(const QString& name, TNotifyEvent handler) override;

private:
    friend class TPopupMenu;
    QString caption_;
    TShortCut shortCut_ = scNone;
    bool enabled_ = true;
    bool default_ = false;
    QString hint_;
    QString bitmapPath_;
    mutable QImage bitmap_;
    TPopupMenu* menu_ = nullptr;
};
