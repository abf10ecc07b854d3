#pragma once
// The owner tree: a component owns the components created with it as owner and frees them,
// last created first, when it is freed.  Names are looked up among the owned components.

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Object.h"

class TComponent : public TPersistent {
 public:
  // The owner, when given, takes ownership: `new TButton(form)` is freed by the form.
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  std::string ClassName() const override { return "TComponent"; }

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string value) { name_ = std::move(value); }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int i) const { return components_.at(static_cast<size_t>(i)); }
  // The owned component of that name (compared ignoring case), or none.
  TComponent* FindComponent(const std::string& name) const;

  // Called by the owner right before it frees this component, while every derived part
  // still exists (the place for OnDestroy-style notifications).
  virtual void BeforeDestruction() {}
  // Frees every owned component, last created first.
  void DestroyComponents();

  // True while the component is being built from its design values.
  bool Loading() const { return loading_; }
  void SetLoading(bool value) { loading_ = value; }
  bool Destroying() const { return destroying_; }

 protected:
  void MarkDestroying() { destroying_ = true; }

 private:
  void InsertComponent(TComponent* c) { components_.push_back(c); }
  void RemoveComponent(TComponent* c);

  TComponent* owner_ = nullptr;
  std::string name_;
  std::vector<TComponent*> components_;  // owned, in creation order
  bool loading_ = false;
  bool destroying_ = false;
};
