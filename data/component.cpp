#include "data/component.h"

namespace vornak {

TComponent::TComponent(TComponent *owner)
    : owner_(owner)
{
    if (owner_) {
        owner_->components_.append(this);
        loading_ = owner_->loading_;
    }
}

TComponent::~TComponent()
{
    for (TComponent *component : std::as_const(components_))
        component->owner_ = nullptr;
    if (owner_)
        owner_->components_.removeOne(this);
}

void TComponent::EndLoading()
{
    const QList<TComponent *> components = components_;
    for (TComponent *component : components) {
        if (component->loading_)
            component->Loaded();
    }
    loading_ = false;
}

}  // namespace vornak
