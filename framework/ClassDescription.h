#pragma once

#include "framework/Object.h"

#include <functional>
#include <map>
#include <typeinfo>
#include <variant>
#include <vector>

namespace Quorvane {

// The value of a stored property, in one of the four types that property lists carry.
using PropertyValue = std::variant<Int32, Boolean, Color, String>;

// The type of a property, in the order of PropertyValue's alternatives.
enum class PropertyType { Int32Type, BooleanType, ColorType, StringType };

// Values of stored properties that need only keeping, by name.
class PropertyBag {
public:
    // Keeps the value under the name.
    void Set(const String& name, PropertyValue value) { m_values[name] = std::move(value); }
    // The value kept under the name, or the type's empty value.
    PropertyValue Get(const String& name, PropertyType type) const;

private:
    std::map<String, PropertyValue> m_values;
};

// A property that property lists can set: its name, its type and how it is set and read.
struct PropertyRecord {
    String Name;
    PropertyType Type = PropertyType::Int32Type;
    std::function<void(Object&, const PropertyValue&)> Set;
    std::function<PropertyValue(const Object&)> Get;
};

// How the framework raises an event on objects of a class: the signature text of its handlers
// and the C++ type of the call.
struct EventRecord {
    String Name;
    String Signature;
    const std::type_info* Type = nullptr;
};

// A hook that the framework runs on an object when it raises the event of that name.
struct EventHook {
    String Event;
    std::function<void(Object&)> Run;
};

// What introspection knows of a member.
struct MemberRecord {
    enum class Kind { Method, Property };
    Kind What = Kind::Method;
    String Name;
    String Type;     // a property's type, or a method's result ("" for none)
    String Scope;    // "Public" or "Protected"
    std::vector<String> Attributes;
};

// The description of a class: its name, its base, its own virtual operations in their order, the
// events it declares and how it raises them, the hooks it attaches, its stored properties and its
// members.
struct ClassDescription {
    String Name;
    const ClassDescription* Base = nullptr;
    std::vector<String> Methods;
    std::vector<String> Events;
    std::vector<EventRecord> RaisedEvents;
    std::vector<EventHook> EventHooks;
    std::vector<PropertyRecord> Properties;
    std::vector<MemberRecord> Members;

    // Every virtual operation, the base's first, in order.
    std::vector<String> MethodTable() const;
    // The name of the event of that number, counted from 0 over the base's events first; empty
    // when the class has no such event.
    String EventAt(Int32 number) const;
    // How the framework raises the named event on this class, from this class or the nearest
    // base that says; nothing when the framework never raises it.
    const EventRecord* RaisedEvent(const String& name) const;
    // The number of the event of that name; -1 when the class has none.
    Int32 EventNumber(const String& name) const;
    // The hook attached to the named event by this class or the nearest base that attaches one.
    const EventHook* HookFor(const String& event) const;
    // The property of that name, matched without regard to case, here or in a base.
    const PropertyRecord* FindProperty(const String& name) const;
};

// Tells GCC that a function's returned reference never refers into its arguments, so that it does
// not take the result of a call with a temporary argument for a dangling reference.
#if __has_cpp_attribute(gnu::no_dangling)
#define QUORVANE_NO_DANGLING [[gnu::no_dangling]]
#endif
#ifndef QUORVANE_NO_DANGLING
#define QUORVANE_NO_DANGLING
#endif

// Builds a class's description and records it after those built before it; a description is
// built once, when its class is first described. The reference is into the record of every
// description, which lives as long as the program, never into the argument.
QUORVANE_NO_DANGLING const ClassDescription& RuntimeNewClass(ClassDescription description);

// Every description built so far, in the order they were built.
const std::vector<const ClassDescription*>& RuntimeClasses();

// Describes the framework's own classes, in the framework's order.
void RuntimeDescribeFrameworkClasses();

// Declares the static Description() of a class and its virtual Class().
#define QUORVANE_DESCRIBED_CLASS                                                       \
public:                                                                                \
    static const ::Quorvane::ClassDescription& Description();                           \
    const ::Quorvane::ClassDescription& Class() const override { return Description(); }

// Raises the named event on the object: runs the hook that its class, or the nearest base, attaches
// to it, holding a reference to the object meanwhile, since a hook may let go of the last other
// one; does nothing when no class attaches one.
void RuntimeRaiseHook(Object& object, const String& event);

// A property record for a getter and a setter of a class.
template <class Owner, class Got, class Given>
PropertyRecord PropertyOf(String name, Got (Owner::*get)() const, void (Owner::*set)(Given))
{
    using Plain = std::decay_t<Given>;
    PropertyRecord record;
    record.Name = std::move(name);
    record.Type = static_cast<PropertyType>(PropertyValue(std::in_place_type<Plain>).index());
    record.Set = [set](Object& object, const PropertyValue& value) {
        (dynamic_cast<Owner&>(object).*set)(std::get<Plain>(value));
    };
    record.Get = [get](const Object& object) {
        return PropertyValue((dynamic_cast<const Owner&>(object).*get)());
    };
    return record;
}

// A property record whose value the owner only keeps, in its bag of stored properties.
template <class Owner>
PropertyRecord StoredPropertyOf(String name, PropertyType type, PropertyBag Owner::*bag)
{
    PropertyRecord record;
    record.Name = name;
    record.Type = type;
    record.Set = [name, bag](Object& object, const PropertyValue& value) {
        (dynamic_cast<Owner&>(object).*bag).Set(name, value);
    };
    record.Get = [name, type, bag](const Object& object) {
        return (dynamic_cast<const Owner&>(object).*bag).Get(name, type);
    };
    return record;
}

// The value of the object's property of that name (matched without regard to case);
// UnsupportedOperationException when its class has none.
PropertyValue GetProperty(const Object& object, const String& name);

} // namespace Quorvane
