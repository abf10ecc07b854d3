#pragma once
// Root classes of the object model: every event sender is a TObject; persistent objects can
// be copied into one another by Assign.

#include <functional>
#include <string>

class TObject {
 public:
  virtual ~TObject() = default;
};

// A (receiver, handler) pair: at most one handler per event.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
 public:
  // Copies source into this object: source.CopyTo(*this) unless the class knows the source.
  virtual void CopyFrom(const TPersistent& source);
  // Raises EConvertError "Impossible d'affecter %s à %s" unless overridden.
  virtual void CopyTo(TPersistent& target) const;
  virtual std::string ClassName() const = 0;
};
