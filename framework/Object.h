#pragma once

#include "framework/Exceptions.h"

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

namespace Quorvane {

struct ObjectFactory;
struct ClassDescription;

// The root of every framework object. Objects are made only by RuntimeNewObject, held by counted
// references (Ref), and run their exit hook when the last reference goes.
class Object : public std::enable_shared_from_this<Object> {
public:
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    // The description of the object's own class.
    virtual const ClassDescription& Class() const;
    // The description of Object, the root of every class.
    static const ClassDescription& Description();

protected:
    Object() = default;

    // Runs once, when the last reference goes and before the object is destroyed. A class that
    // holds references lets go of them here, in its own order, and then calls its base's hook.
    virtual void __Exit() noexcept {}

private:
    friend struct ObjectFactory;
};

template <class T> class WeakRef;

// A counted reference to a framework object, or nothing. Using an empty reference raises
// NilObjectException before anything is touched.
template <class T>
class Ref {
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    template <class U>
        requires std::is_convertible_v<U*, T*>
    Ref(const Ref<U>& other) noexcept : m_object(other.m_object) {}
    template <class U>
        requires std::is_convertible_v<U*, T*>
    Ref(Ref<U>&& other) noexcept : m_object(std::move(other.m_object)) {}

    // The object, or NilObjectException when the reference is empty.
    T& operator*() const { return Get(); }
    // The object's members, or NilObjectException when the reference is empty.
    T* operator->() const { return &Get(); }

    // True when the reference holds an object.
    explicit operator bool() const noexcept { return m_object != nullptr; }
    // True when the reference holds nothing.
    bool IsNil() const noexcept { return m_object == nullptr; }

    // Empties the reference first and only then lets go of the object, so that an exit hook that
    // runs now finds the reference already empty.
    void Clear() noexcept
    {
        std::shared_ptr<T> held = std::move(m_object);
        m_object.reset();
    }

    // True when both references hold the same object, or both hold nothing.
    template <class U>
    bool IsSameAs(const Ref<U>& other) const noexcept
    {
        return m_object == other.m_object;
    }
    template <class U>
    friend bool operator==(const Ref& left, const Ref<U>& right) noexcept
    {
        return left.IsSameAs(right);
    }
    friend bool operator==(const Ref& left, std::nullptr_t) noexcept { return left.IsNil(); }

private:
    explicit Ref(std::shared_ptr<T> object) noexcept : m_object(std::move(object)) {}

    T& Get() const
    {
        if (!m_object)
            throw NilObjectException();
        return *m_object;
    }

    std::shared_ptr<T> m_object;

    template <class> friend class Ref;
    template <class> friend class WeakRef;
    friend struct ObjectFactory;
    template <class To, class From> friend Ref<To> RuntimeCheckCast(const Ref<From>&);
    template <class U> friend Ref<U> RefTo(U&);
};

// A reference that does not keep its object alive; Lock yields a counted reference or nothing.
template <class T>
class WeakRef {
public:
    WeakRef() noexcept = default;
    template <class U>
        requires std::is_convertible_v<U*, T*>
    WeakRef(const Ref<U>& object) noexcept : m_object(object.m_object) {}

    // A counted reference to the object while it lives, else an empty reference.
    Ref<T> Lock() const noexcept { return Ref<T>(m_object.lock()); }

private:
    std::weak_ptr<T> m_object;
};

// Makes objects and gives them their exit hook; the one place where framework objects are born.
struct ObjectFactory {
    template <class T>
    static Ref<T> Make()
    {
        // A class's default constructor stays protected: only this derived shell can call it.
        struct Made final : T {
            Made() = default;
        };
        auto owned = std::make_unique<Made>();
        std::shared_ptr<T> shared(owned.release(), [](T* object) noexcept {
            std::unique_ptr<T> doomed(object);
            static_cast<Object*>(object)->__Exit();
        });
        return Ref<T>(std::move(shared));
    }
};

// Makes a new object of class T without running any constructor operation of the class.
template <class T>
Ref<T> RuntimeNewObject()
{
    static_assert(std::is_base_of_v<Object, T>, "framework objects derive from Object");
    return ObjectFactory::Make<T>();
}

// The same object as a T; an empty reference stays empty; an object of another class raises
// IllegalCastException.
template <class To, class From>
Ref<To> RuntimeCheckCast(const Ref<From>& object)
{
    if (!object)
        return {};
    auto cast = std::dynamic_pointer_cast<To>(object.m_object);
    if (!cast)
        throw IllegalCastException();
    return Ref<To>(std::move(cast));
}

// A counted reference to an object that is already held by one, for code that has only the object.
template <class T>
Ref<T> RefTo(T& object)
{
    return Ref<T>(std::static_pointer_cast<T>(static_cast<Object&>(object).shared_from_this()));
}

} // namespace Quorvane
