#pragma once
// A visible component: a Qt widget placed in its parent's client area, with
// the settings every control shares (place, size, visibility, colour, font,
// pointer, hint, tab order).

#include "forms/Graphics.h"
#include "forms/Property.h"
#include "forms/TComponent.h"

#include <QPointer>
#include <QWidget>

class TForm;
class TPopupMenu;

// Control->Font: the control's font, whose changes reach the control at once.
class TFontObject {
public:
    explicit TFontObject(std::function<void()> changed) : changed_(std::move(changed)) {}
    TFont Data;

    TColor GetColor() const { return Data.Color; }
    void SetColor(const TColor& c) { Data.Color = c, changed_(); }
    int GetHeight() const { return Data.Height; }
    void SetHeight(const int& h) { Data.Height = h, changed_(); }
    QString GetName() const { return Data.Name; }
    void SetName(const QString& n) { Data.Name = n, changed_(); }
    LUNOHRAI_PROPERTY(TFontObject, TColor, Color);
    LUNOHRAI_PROPERTY(TFontObject, int, Height);
    LUNOHRAI_PROPERTY(TFontObject, QString, Name);

    void Changed() { changed_(); }

private:
    std::function<void()> changed_;
};

class TControl : public TComponent {
public:
    // `windowed` controls (lists, edits, animations, bars, panels) always lie
    // above graphic controls (speed buttons, labels) of the same parent.
    TControl(TComponent* AOwner, QWidget* widget, bool windowed);
    ~TControl() override;

    QWidget* Widget() const { return widget_; }
    bool Windowed() const { return windowed_; }
    // The control whose client area holds this one (a form or a panel).
    TControl* Parent() const { return parent_; }
    void SetParent(TControl* parent);
    // The widget into which child controls are placed.
    virtual QWidget* ClientWidget() const { return widget_; }
    // The control that owns a widget, or nullptr.
    static TControl* FromWidget(const QWidget* widget);

    int GetLeft() const { return left_; }
    void SetLeft(const int& v) { SetBounds(v, top_, width_, height_); }
    int GetTop() const { return top_; }
    void SetTop(const int& v) { SetBounds(left_, v, width_, height_); }
    virtual int GetWidth() const { return width_; }
    void SetWidth(const int& v) { SetBounds(left_, top_, v, height_); }
    virtual int GetHeight() const { return height_; }
    virtual void SetHeight(const int& v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    bool GetVisible() const { return visible_; }
    virtual void SetVisible(const bool& v);
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(const bool& v);
    TColor GetColor() const { return color_; }
    void SetColor(const TColor& c);
    QString GetHint() const { return hint_; }
    void SetHint(const QString& h) { hint_ = h; }
    bool GetShowHint() const;
    void SetShowHint(const bool& v) { showHint_ = v, parentShowHint_ = false; }

    LUNOHRAI_PROPERTY(TControl, int, Left);
    LUNOHRAI_PROPERTY(TControl, int, Top);
    LUNOHRAI_PROPERTY(TControl, int, Width);
    LUNOHRAI_PROPERTY(TControl, int, Height);
    LUNOHRAI_PROPERTY(TControl, bool, Visible);
    LUNOHRAI_PROPERTY(TControl, bool, Enabled);
    LUNOHRAI_PROPERTY(TControl, TColor, Color);
    LUNOHRAI_PROPERTY(TControl, QString, Hint);
    LUNOHRAI_PROPERTY(TControl, bool, ShowHint);
    TFontObject* const Font = &font_;

    bool ParentFont() const { return parentFont_; }
    bool ParentColor() const { return parentColor_; }
    int TabOrder() const { return tabOrder_; }
    bool TabStop() const { return tabStop_; }
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    // The font the control draws with: its own, or its parent's.
    const TFont& EffectiveFont() const;
    TColor EffectiveColor() const;

    bool SetProperty(const QString& name, const LayoutValue& value) override;
    bool InsertChild(TComponent* child) override;
    void Loaded() override;

    // Called once the form has its final layout (after scaling).
    virtual void LayoutDone() {}
    // Multiplies place, size and own font by num/den (the layout scaling).
    virtual void ScaleBy(int num, int den);
    const std::vector<TControl*>& Controls() const { return controls_; }

protected:
    // The look changed: font, colour or enabled state.
    virtual void Changed();
    void SetTabStop(bool v) { tabStop_ = v; }

private:
    void applyFont();
    void applyColor();

    QPointer<QWidget> widget_;
    bool windowed_;
    TControl* parent_ = nullptr;
    std::vector<TControl*> controls_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFontObject font_;
    bool parentFont_ = true;
    QString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    int tabOrder_ = -1;
    bool tabStop_ = false;
    QString popupMenuName_;
    TPopupMenu* popupMenu_ = nullptr;
};
