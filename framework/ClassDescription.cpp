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

// The first non-null answer of look for the class and then for each of its bases in turn, the
// nearest first; null when none answers.
template <class Look>
auto NearestInClassOrBases(const ClassDescription* description, Look&& look)
    -> decltype(look(*description))
{
    for (; description; description = description->Base)
        if (auto found = look(*description))
            return found;
    return nullptr;
}

// The first item of the list that matches, or null.
template <class Item, class Matches>
const Item* FirstMatching(const std::vector<Item>& items, Matches&& matches)
{
    auto found = std::find_if(items.begin(), items.end(), matches);
    return found == items.end() ? nullptr : &*found;
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

String ClassDescription::EventAt(Int32 number) const
{
    Int32 first = EventCount(Base);
    if (number >= first && number < first + static_cast<Int32>(Events.size()))
        return Events[static_cast<size_t>(number - first)];
    return Base && number >= 0 ? Base->EventAt(number) : String();
}

const EventRecord* ClassDescription::RaisedEvent(const String& name) const
{
    return NearestInClassOrBases(this, [&](const ClassDescription& description) {
        return FirstMatching(description.RaisedEvents,
                             [&](const EventRecord& event) { return event.Name == name; });
    });
}

Int32 ClassDescription::EventNumber(const String& name) const
{
    const String* event = nullptr;
    const ClassDescription* declaring = NearestInClassOrBases(this, [&](const ClassDescription& description) {
        event = FirstMatching(description.Events, [&](const String& declared) { return declared == name; });
        return event ? &description : nullptr;
    });
    if (!declaring)
        return -1;
    return EventCount(declaring->Base) + static_cast<Int32>(event - declaring->Events.data());
}

const EventHook* ClassDescription::HookFor(const String& event) const
{
    return NearestInClassOrBases(this, [&](const ClassDescription& description) {
        return FirstMatching(description.EventHooks, [&](const EventHook& hook) { return hook.Event == event; });
    });
}

const PropertyRecord* ClassDescription::FindProperty(const String& name) const
{
    return NearestInClassOrBases(this, [&](const ClassDescription& description) {
        return FirstMatching(description.Properties, [&](const PropertyRecord& property) {
            return SameNameIgnoringCase(property.Name, name);
        });
    });
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
