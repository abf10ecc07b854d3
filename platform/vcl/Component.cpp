#include "platform/vcl/Component.h"

#include <algorithm>

#include "platform/rtl/Format.h"

TComponent::TComponent(TComponent* AOwner) : owner_(AOwner) {
  if (owner_) owner_->InsertComponent(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (rtl::SameText(c->Name(), name)) return c;
  return nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    c->BeforeDestruction();
    c->destroying_ = true;
    components_.pop_back();
    c->owner_ = nullptr;
    delete c;  // owned: the owner frees what it was given
  }
}

void TComponent::RemoveComponent(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it != components_.end()) components_.erase(it);
}
