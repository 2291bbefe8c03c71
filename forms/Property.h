#pragma once
// A published property: reads and writes go through the owner's getter and
// setter, so handlers can write `Button->Visible = false;` and the control
// updates itself, the way component properties behave.

template <class Owner, class T, T (Owner::*Get)() const, void (Owner::*Set)(const T&)>
class Property {
public:
    explicit Property(Owner* owner) : owner_(owner) {}
    Property(const Property&) = delete;
    Property& operator=(const Property& other) { return *this = static_cast<T>(other); }

    operator T() const { return (owner_->*Get)(); }
    T operator()() const { return (owner_->*Get)(); }
    Property& operator=(const T& value) {
        (owner_->*Set)(value);
        return *this;
    }

private:
    Owner* owner_;
};

#define LUNOHRAI_PROPERTY(Owner, Type, Name)                                                       \
    Property<Owner, Type, &Owner::Get##Name, &Owner::Set##Name> Name {                             \
        this                                                                                       \
    }
