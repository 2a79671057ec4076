#pragma once
// The roots of the library: objects, components that own other components,
// and the string lists of list boxes and combo boxes.

#include <functional>
#include <vector>

#include "vcl/Property.h"
#include "vcl/String.h"

class TObject {
 public:
  virtual ~TObject() = default;
};

// A component belongs to its owner, which deletes it when it is deleted
// itself (the last owned first). Deleting a component takes it out of its
// owner.
class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* GetOwner() const { return owner_; }
  ReadOnlyProperty<TComponent, TComponent*, &TComponent::GetOwner> Owner{this};

 protected:
  // Deletes the owned components. Each derived class whose parts the owned
  // components may still reach calls this first in its destructor.
  void DestroyComponents();

 private:
  TComponent* owner_;
  std::vector<TComponent*> components_;
};

// The lines of a list box or a combo box.
class TStrings {
 public:
  // Called after every change of the lines.
  explicit TStrings(std::function<void()> changed) : changed_(std::move(changed)) {}
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  // Appends a line; returns its index.
  int Add(const String& line);
  void Clear();
  int GetCount() const { return static_cast<int>(lines_.size()); }
  ReadOnlyProperty<TStrings, int, &TStrings::GetCount> Count{this};
  // Raises Exception for an index outside the list.
  const String& operator[](int index) const;

 private:
  std::vector<String> lines_;
  std::function<void()> changed_;
};
