#pragma once
// The published properties of the controls, looked up by name at run time: the part of the
// components' type information that the settings storage needs.  A property is an ordinal
// (an integer, or a Boolean held as 0 and 1) read and assigned as program code would.

#include <functional>
#include <string>
#include <string_view>

class TComponent;

enum class TTypeKind { tkInteger, tkBoolean };

struct TPropInfo {
  std::string Name;  // the declared name, as keys spell it
  TTypeKind Kind = TTypeKind::tkInteger;
  std::function<int(const TComponent&)> Get;
  // Assigns with the control's usual effects (constraints, events).
  std::function<void(TComponent&, int)> Set;
};

// The property of that name (compared ignoring case) that the component's class publishes,
// or none.
const TPropInfo* GetPropInfo(const TComponent& component, std::string_view name);
