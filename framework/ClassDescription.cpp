#include "framework/ClassDescription.h"

#include <algorithm>
#include <cctype>
#include <deque>

namespace Quorvane {

namespace {

struct ClassRegistry {
    std::deque<ClassDescription> descriptions; // a deque never moves what it holds
    std::vector<const ClassDescription*> order;
};

ClassRegistry& Registry()
{
    static ClassRegistry registry;
    return registry;
}

bool SameNameIgnoringCase(const String& left, const String& right)
{
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

Int32 EventCount(const ClassDescription* description)
{
    Int32 count = 0;
    for (; description; description = description->Base)
        count += static_cast<Int32>(description->Events.size());
    return count;
}

} // namespace

std::vector<String> ClassDescription::MethodTable() const
{
    std::vector<String> table = Base ? Base->MethodTable() : std::vector<String>{};
    table.insert(table.end(), Methods.begin(), Methods.end());
    return table;
}

Boolean ClassDescription::IsA(const ClassDescription& other) const
{
    for (const ClassDescription* description = this; description; description = description->Base)
        if (description == &other)
            return true;
    return false;
}

String ClassDescription::EventAt(Int32 number) const
{
    Int32 first = EventCount(Base);
    if (number >= first && number < first + static_cast<Int32>(Events.size()))
        return Events[static_cast<size_t>(number - first)];
    return Base && number >= 0 ? Base->EventAt(number) : String();
}

const EventRecord* ClassDescription::RaisedEvent(const String& name) const
{
    for (const ClassDescription* description = this; description; description = description->Base)
        for (const EventRecord& event : description->RaisedEvents)
            if (event.Name == name)
                return &event;
    return nullptr;
}

Int32 ClassDescription::EventNumber(const String& name) const
{
    for (const ClassDescription* description = this; description; description = description->Base)
        for (size_t index = 0; index < description->Events.size(); ++index)
            if (description->Events[index] == name)
                return EventCount(description->Base) + static_cast<Int32>(index);
    return -1;
}

const EventHook* ClassDescription::HookFor(const String& event) const
{
    for (const ClassDescription* description = this; description; description = description->Base)
        for (const EventHook& hook : description->EventHooks)
            if (hook.Event == event)
                return &hook;
    return nullptr;
}

const PropertyRecord* ClassDescription::FindProperty(const String& name) const
{
    for (const ClassDescription* description = this; description; description = description->Base)
        for (const PropertyRecord& property : description->Properties)
            if (SameNameIgnoringCase(property.Name, name))
                return &property;
    return nullptr;
}

PropertyValue PropertyBag::Get(const String& name, PropertyType type) const
{
    auto found = m_values.find(name);
    if (found != m_values.end())
        return found->second;
    switch (type) {
    case PropertyType::Int32Type: return Int32(0);
    case PropertyType::BooleanType: return false;
    case PropertyType::ColorType: return Color{};
    case PropertyType::StringType: return String();
    }
    return {};
}

void RuntimeRaiseHook(Object& object, const String& event)
{
    if (const EventHook* hook = object.Class().HookFor(event)) {
        Ref<Object> held = RefTo(object);
        hook->Run(*held);
    }
}

PropertyValue GetProperty(const Object& object, const String& name)
{
    const PropertyRecord* property = object.Class().FindProperty(name);
    if (!property)
        throw UnsupportedOperationException(object.Class().Name + " has no property named \"" +
                                            name + "\".");
    return property->Get(object);
}

const ClassDescription& RuntimeNewClass(ClassDescription description)
{
    ClassRegistry& registry = Registry();
    const ClassDescription& built = registry.descriptions.emplace_back(std::move(description));
    registry.order.push_back(&built);
    return built;
}

const std::vector<const ClassDescription*>& RuntimeClasses()
{
    return Registry().order;
}

const ClassDescription& Object::Description()
{
    static const ClassDescription& description = RuntimeNewClass({.Name = "Object"});
    return description;
}

const ClassDescription& Object::Class() const
{
    return Description();
}

} // namespace Quorvane
