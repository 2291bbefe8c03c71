#pragma once
// Base of every component: a name, an owner that destroys it, and the hook
// through which the stored-layout reader hands it its settings.

#include "forms/LayoutValue.h"

#include <QString>
#include <functional>
#include <vector>

class TComponent;
using TObject = TComponent;
// An event handler: takes the component that raised the event.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TComponent {
public:
    explicit TComponent(TComponent* AOwner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    QString Name;
    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }

    // Applies one stored setting. Returns false for a property the component
    // does not have; throws ELayoutValueError for a value it does not accept.
    virtual bool SetProperty(const QString& name, const LayoutValue& value);
    // Binds a stored event (OnClick ...) to a handler. Returns false for an
    // event the component does not have.
    virtual bool SetEvent(const QString& name, TNotifyEvent handler);
    // Takes a component declared inside this one in the layout (a control on
    // a panel, an item of a menu). Returns false when it cannot hold it.
    virtual bool InsertChild(TComponent* child);
    // Called once all components of the layout are read, in creation order;
    // references to other components by name are resolved here.
    virtual void Loaded() {}

    // The owned component of that name, or nullptr.
    TComponent* FindComponent(const QString& name) const;

private:
    TComponent* owner_;
    std::vector<TComponent*> components_;
};
