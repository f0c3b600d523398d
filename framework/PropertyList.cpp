#include "framework/PropertyList.h"

namespace Quorvane {

namespace {

class Reader {
public:
    explicit Reader(const String& list) : m_list(list) {}

    bool AtEnd() const noexcept { return m_at == m_list.size(); }
    size_t Offset() const noexcept { return m_at; }

    String Key()
    {
        const size_t start = m_at;
        while (!AtEnd() && m_list[m_at] != ' ') {
            const char c = m_list[m_at];
            if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
                Fail("a key holds a byte that is not an ASCII letter", m_at);
            ++m_at;
        }
        if (AtEnd())
            Fail("the list ends inside a key", start);
        if (m_at == start)
            Fail("an entry has an empty key", start);
        String key = m_list.substr(start, m_at - start);
        ++m_at; // the blank
        return key;
    }

    PropertyValue Value(PropertyType type, const String& key)
    {
        switch (type) {
        case PropertyType::Int32Type: {
            const auto bytes = Take(4, key);
            std::uint32_t value = 0;
            for (char byte : bytes)
                value = (value << 8) | static_cast<unsigned char>(byte);
            return static_cast<Int32>(value);
        }
        case PropertyType::BooleanType: {
            const size_t at = m_at;
            const auto byte = static_cast<unsigned char>(Take(1, key)[0]);
            if (byte > 1)
                Fail("the Boolean value of \"" + key + "\" is neither 0 nor 1", at);
            return byte == 1;
        }
        case PropertyType::ColorType: {
            const auto bytes = Take(3, key);
            return Color{static_cast<std::uint8_t>(bytes[0]), static_cast<std::uint8_t>(bytes[1]),
                         static_cast<std::uint8_t>(bytes[2])};
        }
        case PropertyType::StringType: {
            const auto length = std::get<Int32>(Value(PropertyType::Int32Type, key));
            if (length < 0)
                Fail("the text of \"" + key + "\" has a negative length", m_at - 4);
            return Take(static_cast<size_t>(length), key);
        }
        }
        Fail("a property has an unknown type", m_at);
    }

    [[noreturn]] void Fail(const String& what, size_t at) const
    {
        throw UnsupportedFormatException("The stored property list cannot be read: " + what +
                                         " (byte " + std::to_string(at) + " of " +
                                         std::to_string(m_list.size()) + ").");
    }

private:
    String Take(size_t count, const String& key)
    {
        if (m_list.size() - m_at < count)
            Fail("the list ends inside the value of \"" + key + "\"", m_at);
        String taken = m_list.substr(m_at, count);
        m_at += count;
        return taken;
    }

    const String& m_list;
    size_t m_at = 0;
};

void PutInt32(String& out, Int32 value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((bits >> shift) & 0xFF);
}

} // namespace

std::vector<PropertyEntry> DecodePropertyList(const String& list, const ClassDescription& target)
{
    Reader reader(list);
    std::vector<PropertyEntry> entries;
    while (!reader.AtEnd()) {
        const size_t start = reader.Offset();
        String key = reader.Key();
        const PropertyRecord* property = target.FindProperty(key);
        if (!property)
            reader.Fail(target.Name + " has no property named \"" + key + "\"", start);
        PropertyValue value = reader.Value(property->Type, key);
        entries.push_back({std::move(key), std::move(value)});
    }
    return entries;
}

String EncodePropertyList(const std::vector<PropertyEntry>& entries)
{
    String list;
    for (const PropertyEntry& entry : entries) {
        list += entry.Key;
        list += ' ';
        std::visit(
            [&list](const auto& value) {
                using Value = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, Int32>) {
                    PutInt32(list, value);
                } else if constexpr (std::is_same_v<Value, Boolean>) {
                    list += static_cast<char>(value ? 1 : 0);
                } else if constexpr (std::is_same_v<Value, Color>) {
                    list += static_cast<char>(value.Red);
                    list += static_cast<char>(value.Green);
                    list += static_cast<char>(value.Blue);
                } else {
                    PutInt32(list, static_cast<Int32>(value.size()));
                    list += value;
                }
            },
            entry.Value);
    }
    return list;
}

void _SetProperties(const Ref<Object>& target, const String& list)
{
    const ClassDescription& description = target->Class();
    for (const PropertyEntry& entry : DecodePropertyList(list, description))
        description.FindProperty(entry.Key)->Set(*target, entry.Value);
}

} // namespace Quorvane
