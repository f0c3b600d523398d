#include "framework/Text.h"

#include "framework/Exceptions.h"

namespace Quorvane {

Int32 Len(const String& text)
{
    Int32 characters = 0;
    for (char byte : text)
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80)
            ++characters;
    return characters;
}

std::vector<String> Split(const String& source, const String& delimiter)
{
    if (delimiter.empty())
        throw UnsupportedFormatException("Split needs a delimiter that is not empty.");
    std::vector<String> pieces;
    if (source.empty())
        return pieces;
    String::size_type start = 0;
    for (;;) {
        auto found = source.find(delimiter, start);
        if (found == String::npos) {
            pieces.push_back(source.substr(start));
            return pieces;
        }
        pieces.push_back(source.substr(start, found - start));
        start = found + delimiter.size();
    }
}

String Trim(const String& text)
{
    constexpr const char* whiteSpace = " \t\n\r\v\f";
    auto first = text.find_first_not_of(whiteSpace);
    if (first == String::npos)
        return {};
    auto last = text.find_last_not_of(whiteSpace);
    return text.substr(first, last - first + 1);
}

String Str(Int64 value, const String& format)
{
    if (!format.empty())
        throw UnsupportedFormatException("Str offers no format other than plain decimal.");
    return std::to_string(value);
}

String ReplaceAll(const String& source, const String& find, const String& replacement)
{
    if (find.empty())
        return source;
    String result;
    String::size_type start = 0;
    for (auto found = source.find(find); found != String::npos;
         found = source.find(find, start)) {
        result.append(source, start, found - start);
        result += replacement;
        start = found + find.size();
    }
    result.append(source, start);
    return result;
}

String EndOfLine()
{
    return "\n";
}

} // namespace Quorvane
