#pragma once
// A top-level window read from a stored layout. Subclasses declare their
// members and handlers by name; the layout creates the components, assigns
// the members and binds the events.

#include "forms/TControl.h"

#include <QHash>
#include <QStringList>

class FormWindow;
class TMenuItem;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poDefault, poScreenCenter, poMainFormCenter };

class TForm : public TControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    // The class name the layout's top object must carry (TForm1 ...).
    virtual QString ClassName() const = 0;
    // The stored layout, a Qt resource path.
    virtual QString LayoutResource() const = 0;
    // Creates the components of the stored layout; called once, right after
    // construction. Throws ELayoutError (file, line, name) or the error of a
    // component that cannot be created.
    void ReadLayout();
    void ReadLayoutText(const QString& fileName, const QString& text);

    QString GetCaption() const;
    void SetCaption(const QString& c);
    LUNOHRAI_PROPERTY(TForm, QString, Caption);
    // The outer height: client area plus title bar and frame as the window
    // system draws them.
    int GetHeight() const override;
    void SetHeight(const int& h) override;
    int GetClientWidth() const { return clientWidth_; }
    void SetClientWidth(const int& w);
    int GetClientHeight() const { return clientHeight_; }
    void SetClientHeight(const int& h);
    LUNOHRAI_PROPERTY(TForm, int, ClientWidth);
    LUNOHRAI_PROPERTY(TForm, int, ClientHeight);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    TPosition Position() const { return position_; }

    void SetVisible(const bool& v) override;
    void Show();
    void Hide() { SetVisible(false); }
    // Closes the window: the main form ends the program, any other form hides.
    void Close();
    // The controls in tab order, made whole after reading.
    const std::vector<TControl*>& TabList() const { return tabList_; }

    // The menu item for the verbs of embedded objects; the program embeds
    // none, so the item stays disabled.
    TMenuItem* ObjectMenuItem() const { return objectMenuItem_; }

    bool SetProperty(const QString& name, const LayoutValue& value) override;
    // Holds its controls, and components that take no place (menus, timers ...).
    bool InsertChild(TComponent* child) override;
    void ScaleBy(int num, int den) override;

protected:
    template <class T> void Member(const char* name, T*& field) {
        members_.insert(QLatin1String(name), [&field](TComponent* c) {
            field = dynamic_cast<T*>(c);
            return field != nullptr;
        });
    }
    template <class F> void Handler(const char* name, void (F::*method)(TObject*)) {
        handlers_.insert(QLatin1String(name), [this, method](TObject* sender) {
            (static_cast<F*>(this)->*method)(sender);
        });
    }
    // After all components are read: tab order, scaling, client size.
    void Loaded() override;
    void SetBounds(int left, int top, int width, int height) override;

private:
    friend class FormWindow;
    friend class LayoutReader;
    void applyFrame();
    void applyClientSize();
    void placeAtFirstShow();
    void resolveMenus();
    int frameHeight() const;

    FormWindow* window_;
    QHash<QString, std::function<bool(TComponent*)>> members_;
    QHash<QString, TNotifyEvent> handlers_;
    std::vector<TControl*> tabList_;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    QStringList borderIcons_{QStringLiteral("biSystemMenu"), QStringLiteral("biMinimize"),
                             QStringLiteral("biMaximize")};
    TPosition position_ = TPosition::poDefault;
    int clientWidth_ = 0, clientHeight_ = 0;
    int pixelsPerInch_ = 96, textHeight_ = 13;
    bool scaled_ = true;
    bool placed_ = false;
    QString objectMenuItemName_;
    TMenuItem* objectMenuItem_ = nullptr;
};
