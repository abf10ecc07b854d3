#include "settings/PublishedProps.h"

#include <vector>

#include "platform/rtl/Format.h"
#include "platform/vcl/CheckBox.h"
#include "platform/vcl/ComboBox.h"
#include "platform/vcl/Control.h"

namespace {

struct Entry {
  std::function<bool(const TComponent&)> Publishes;  // whether the class has the property
  TPropInfo Info;
};

template <class T>
bool Is(const TComponent& c) {
  return dynamic_cast<const T*>(&c) != nullptr;
}
template <class T>
const T& As(const TComponent& c) {
  return dynamic_cast<const T&>(c);
}
template <class T>
T& As(TComponent& c) {
  return dynamic_cast<T&>(c);
}

Entry IntegerOf(std::string name, std::function<bool(const TComponent&)> publishes,
                std::function<int(const TComponent&)> get, std::function<void(TComponent&, int)> set) {
  return Entry{std::move(publishes), TPropInfo{std::move(name), TTypeKind::tkInteger, std::move(get), std::move(set)}};
}

const std::vector<Entry>& Table() {
  static const std::vector<Entry> table = {
      IntegerOf(
          "Left", Is<TControl>, [](const TComponent& c) { return As<TControl>(c).Left(); },
          [](TComponent& c, int v) { As<TControl>(c).SetLeft(v); }),
      IntegerOf(
          "Top", Is<TControl>, [](const TComponent& c) { return As<TControl>(c).Top(); },
          [](TComponent& c, int v) { As<TControl>(c).SetTop(v); }),
      IntegerOf(
          "Width", Is<TControl>, [](const TComponent& c) { return As<TControl>(c).Width(); },
          [](TComponent& c, int v) { As<TControl>(c).SetWidth(v); }),
      IntegerOf(
          "Height", Is<TControl>, [](const TComponent& c) { return As<TControl>(c).Height(); },
          [](TComponent& c, int v) { As<TControl>(c).SetHeight(v); }),
      IntegerOf(
          "ItemIndex", Is<TCustomComboBox>,
          [](const TComponent& c) { return As<TCustomComboBox>(c).ItemIndex(); },
          [](TComponent& c, int v) { As<TCustomComboBox>(c).SetItemIndex(v); }),
      Entry{Is<TCheckBox>,
            TPropInfo{"Checked", TTypeKind::tkBoolean,
                      [](const TComponent& c) { return As<TCheckBox>(c).Checked() ? 1 : 0; },
                      [](TComponent& c, int v) { As<TCheckBox>(c).SetChecked(v != 0); }}},
  };
  return table;
}

}  // namespace

const TPropInfo* GetPropInfo(const TComponent& component, std::string_view name) {
  const std::string wanted = rtl::Trim(name);
  for (const Entry& e : Table()) {
    if (rtl::SameText(e.Info.Name, wanted) && e.Publishes(component)) return &e.Info;
  }
  return nullptr;
}
