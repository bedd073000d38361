#pragma once

// The event slots of the comparer's views. A view raises a command through a delegate; the
// presenter binds each delegate to one of its member functions. A delegate holds one owned
// target or nothing, and destroying or rebinding it deletes the target it held.
//
//   rion::delegate<void()> onCompare;
//   view.onCompare.bind(presenter, &ComparerPresenter::compare);
//   if (view.onCompare)
//       view.onCompare();

#include <memory>
#include <utility>

namespace rion {

template <class Signature> class delegate;

template <class R, class... Args> class delegate<R(Args...)> {
public:
    // What a delegate calls; ConcreteDelegate is the one kind of target.
    class Target {
    public:
        virtual ~Target() = default;
        virtual R invoke(Args... args) = 0;
    };

    delegate() = default;
    delegate(const delegate&) = delete;
    delegate& operator=(const delegate&) = delete;

    // Takes the target over; a target held before is deleted.
    void bind(std::unique_ptr<Target> target) { target_ = std::move(target); }
    template <class T> void bind(T& object, R (T::*method)(Args...));
    void reset() { target_.reset(); }

    // Views raise a delegate only when it has a target.
    explicit operator bool() const { return target_ != nullptr; }
    R operator()(Args... args) const { return target_->invoke(std::forward<Args>(args)...); }

private:
    std::unique_ptr<Target> target_;
};

// A target that binds one member function to one object.
template <class T, class Signature> class ConcreteDelegate;

template <class T, class R, class... Args>
class ConcreteDelegate<T, R(Args...)> final : public delegate<R(Args...)>::Target {
public:
    using Method = R (T::*)(Args...);

    // The object is not owned; it must outlive the delegate that holds this target.
    ConcreteDelegate(T& object, Method method) : object_(object), method_(method) {}

    R invoke(Args... args) override { return (object_.*method_)(std::forward<Args>(args)...); }

private:
    T& object_;
    Method method_;
};

template <class R, class... Args>
template <class T>
void delegate<R(Args...)>::bind(T& object, R (T::*method)(Args...)) {
    bind(std::make_unique<ConcreteDelegate<T, R(Args...)>>(object, method));
}

} // namespace rion
