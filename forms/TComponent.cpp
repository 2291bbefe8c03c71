#include "forms/TComponent.h"

#include <algorithm>

TComponent::TComponent(TComponent* AOwner) : owner_(AOwner) {
    if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    // Owned components go in reverse order of creation.
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        delete last;
    }
    if (owner_) std::erase(owner_->components_, this);
}

bool TComponent::SetProperty(const QString& name, const LayoutValue&) {
    return name == QLatin1String("Left") || name == QLatin1String("Top"); // design-time place only
}

bool TComponent::SetEvent(const QString&, TNotifyEvent) {
    return false;
}

bool TComponent::InsertChild(TComponent*) {
    return false;
}

TComponent* TComponent::FindComponent(const QString& name) const {
    for (TComponent* c : components_)
        if (c->Name.compare(name, Qt::CaseInsensitive) == 0) return c;
    return nullptr;
}
