#include "framework/PropertyList.h"

#include "tests/support/TestWindow.h"
#include "window/StoredPropertyLists.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>
#include <random>
#include <vector>

namespace Quorvane {
namespace {

using namespace std::string_literals;
using Testing::BareWindow;

// The stored lists byte for byte, as the framework must be given them.
constexpr char WindowBytes[] =
    "Placement " "\x00\x00\x00\x02"
    "Width " "\x00\x00\x01\xA7"
    "Height " "\x00\x00\x00\xA7"
    "MinWidth " "\x00\x00\x00\x40"
    "MinHeight " "\x00\x00\x00\x40"
    "MaxWidth " "\x00\x00\x7D\x00"
    "MaxHeight " "\x00\x00\x7D\x00"
    "Frame " "\x00\x00\x00\x00"
    "Composite " "\x00"
    "HasBackColor " "\x00"
    "BackColor " "\xFF\xFF\xFF"
    "Title " "\x00\x00\x00\x08" "Quorvane"
    "Visible " "\x01"
    "FullScreen " "\x00"
    "MenuBarVisible " "\x01"
    "CloseButton " "\x01"
    "Resizeable " "\x00"
    "LiveResize " "\x00"
    "MaximizeButton " "\x00"
    "MinimizeButton " "\x01"
    "FullScreenButton " "\x00"
    "MacProcID " "\x00\x00\x00\x00";

constexpr char Canvas1Bytes[] =
    "Name " "\x00\x00\x00\x07" "Canvas1"
    "Index " "\x80\x00\x00\x00"
    "Left " "\x00\x00\x00\x04"
    "Top " "\x00\x00\x00\x02"
    "Width " "\x00\x00\x01\xA1"
    "Height " "\x00\x00\x00\xA3"
    "LockLeft " "\x01"
    "LockTop " "\x01"
    "LockRight " "\x01"
    "LockBottom " "\x01"
    "TabPanelIndex " "\x00\x00\x00\x00"
    "TabIndex " "\x00\x00\x00\x00"
    "TabStop " "\x01"
    "Visible " "\x01"
    "HelpTag " "\x00\x00\x00\x00"
    "AutoDeactivate " "\x01"
    "Enabled " "\x01"
    "UseFocusRing " "\x01"
    "AcceptFocus " "\x00"
    "AcceptTabs " "\x00"
    "DoubleBuffer " "\x00"
    "EraseBackground " "\x01"
    "Transparent " "\x01"
    "InitialParent " "\x00\x00\x00\x00";


// A stored list of the program, the class it is read against and what it holds.
struct StoredList {
    const char* Name;
    String Bytes;
    const ClassDescription& Target;
    const std::vector<PropertyEntry>& Entries;
    String ExactBytes;
};

std::vector<StoredList> StoredLists()
{
    return {{"window", StoredPropertyLists::Window(), Window_main::Description(),
             StoredPropertyLists::WindowEntries(), String(WindowBytes, sizeof WindowBytes - 1)},
            {"canvas", StoredPropertyLists::Canvas1(), Canvas::Description(),
             StoredPropertyLists::Canvas1Entries(), String(Canvas1Bytes, sizeof Canvas1Bytes - 1)}};
}

void ExpectEntries(const std::vector<PropertyEntry>& actual, const std::vector<PropertyEntry>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t index = 0; index < expected.size(); ++index) {
        EXPECT_EQ(actual[index].Key, expected[index].Key) << "entry " << index;
        EXPECT_TRUE(actual[index].Value == expected[index].Value) << "entry " << expected[index].Key;
    }
}

// The message of the UnsupportedFormatException that reading the list raises; a failure of the
// test when the list is read without one.
String DecodeFailure(const String& list, const ClassDescription& target)
{
    try {
        (void)DecodePropertyList(list, target);
    } catch (const UnsupportedFormatException& raised) {
        return raised.Message();
    }
    ADD_FAILURE() << "the list was read";
    return {};
}

// Reads the list, which must either be read whole or raise UnsupportedFormatException. A list that
// is read encodes back to exactly its own bytes.
void ExpectReadOrRefused(const String& list, const ClassDescription& target)
{
    std::vector<PropertyEntry> entries;
    try {
        entries = DecodePropertyList(list, target);
    } catch (const UnsupportedFormatException&) {
        return;
    }
    EXPECT_EQ(EncodePropertyList(entries), list);
}

TEST(PropertyList, TheStoredListsDecodeToTheirEntriesInOrder)
{
    for (const StoredList& stored : StoredLists()) {
        SCOPED_TRACE(stored.Name);
        ExpectEntries(DecodePropertyList(stored.Bytes, stored.Target), stored.Entries);
    }
}

TEST(PropertyList, TheStoredListsAreExactlyTheirBytesAndEncodeBackToThem)
{
    for (const StoredList& stored : StoredLists()) {
        SCOPED_TRACE(stored.Name);
        const String encoded = EncodePropertyList(DecodePropertyList(stored.Bytes, stored.Target));
        EXPECT_EQ(encoded.size(), 293u);
        EXPECT_EQ(encoded, stored.Bytes);
        EXPECT_EQ(stored.Bytes, stored.ExactBytes);
    }
}

TEST(PropertyList, KeysFindTheirPropertyWithoutRegardToCase)
{
    const PropertyRecord* property = Window_main::Description().FindProperty("MacProcID");
    ASSERT_NE(property, nullptr);
    EXPECT_EQ(property->Name, "MacProcId");
    EXPECT_EQ(property->Type, PropertyType::Int32Type);

    auto window = BareWindow();
    _SetProperties(window, "MacProcID " "\x00\x00\x01\x02"s "tItLe " "\x00\x00\x00\x02" "Hi"s);
    EXPECT_TRUE(GetProperty(*window, "MacProcId") == PropertyValue(Int32{258}));
    EXPECT_TRUE(GetProperty(*window, "macprocid") == PropertyValue(Int32{258}));
    EXPECT_EQ(window->Title(), "Hi");
}

TEST(PropertyList, TheWindowListSetsEveryPropertyOfTheWindow)
{
    auto window = BareWindow();
    _SetProperties(window, StoredPropertyLists::Window());
    for (const PropertyEntry& entry : StoredPropertyLists::WindowEntries())
        EXPECT_TRUE(GetProperty(*window, entry.Key) == entry.Value) << entry.Key;
}

TEST(PropertyList, TheCanvasListSetsEveryPropertyOfTheCanvas)
{
    auto window = BareWindow();
    Ref<Canvas> canvas = window->__New<Canvas>();
    canvas->Constructor();
    _SetProperties(canvas, StoredPropertyLists::Canvas1());
    for (const PropertyEntry& entry : StoredPropertyLists::Canvas1Entries())
        EXPECT_TRUE(GetProperty(*canvas, entry.Key) == entry.Value) << entry.Key;
}

TEST(PropertyList, EntriesAreSetInListOrderSoTheLastOfANameStays)
{
    auto window = BareWindow();
    _SetProperties(window, "Title " "\x00\x00\x00\x03" "One"s "Width " "\x00\x00\x00\x07"s
                           "Title " "\x00\x00\x00\x03" "Two"s);
    EXPECT_EQ(window->Title(), "Two");
    EXPECT_EQ(window->Width(), 7);
}

struct MalformedList {
    const char* Case;
    String List;
    bool ForCanvas;
    String About; // what the message names
    String Where; // where the message says the list went wrong
};

TEST(PropertyList, AMalformedListRaisesSayingWhere)
{
    const std::vector<MalformedList> rows = {
        {"cut short inside a key", "Width " "\x00\x00\x01\xA7" "Hei"s, false, "key", "byte 10 of 13"},
        {"a key with no blank", "Visible"s, false, "key", "byte 0 of 7"},
        {"cut short inside an Int32", "Width " "\x00\x00\x01"s, false, "\"Width\"", "byte 6 of 9"},
        {"cut short before a value", "Visible "s, false, "\"Visible\"", "byte 8 of 8"},
        {"cut short inside a String's length", "Title " "\x00\x00"s, false, "\"Title\"", "byte 6 of 8"},
        {"cut short inside a String's bytes", "Title " "\x00\x00\x00\x08" "Quor"s, false, "\"Title\"",
         "byte 10 of 14"},
        {"a String longer than the whole list", "Title " "\x7F\xFF\xFF\xFF" "Q"s, false, "\"Title\"",
         "byte 10 of 11"},
        {"cut short inside a Color", "BackColor " "\xFF\xFF"s, false, "\"BackColor\"", "byte 10 of 12"},
        {"an unknown property", "Colour " "\x00\x00\x00\x01"s, false, "\"Colour\"", "byte 0 of 11"},
        {"an unknown property after a good entry", "Width " "\x00\x00\x00\x01" "Colour " "\x00"s, false,
         "\"Colour\"", "byte 10 of 18"},
        {"a window property read for the canvas", "Title " "\x00\x00\x00\x01" "T"s, true, "\"Title\"",
         "byte 0 of 11"},
        {"a digit inside a key", "Wid7th " "\x00\x00\x00\x01"s, false, "letter", "byte 3 of 11"},
        {"a NUL byte inside a key", "Width" "\x00" " " "\x00\x00\x00\x01"s, false, "letter", "byte 5 of 11"},
        {"a non-ASCII byte inside a key", "Wid\xC3\xA9th " "\x00\x00\x00\x01"s, false, "letter",
         "byte 3 of 12"},
        {"an empty key", " " "\x00\x00\x00\x01"s, false, "empty key", "byte 0 of 5"},
        {"an empty key after a good entry", "Visible " "\x01" " "s, false, "empty key", "byte 9 of 10"},
        {"a Boolean of 2", "Visible " "\x02"s, false, "\"Visible\"", "byte 8 of 9"},
        {"a Boolean of 255", "Visible " "\xFF"s, false, "\"Visible\"", "byte 8 of 9"},
        {"a negative String length", "Title " "\xFF\xFF\xFF\xFF" "abcd"s, false, "\"Title\"",
         "byte 6 of 14"},
        {"letters left over after the last entry", StoredPropertyLists::Window() + "Vi", false, "key",
         "byte 293 of 295"},
        {"zero bytes left over after the last entry", StoredPropertyLists::Canvas1() + "\x00\x00\x00"s,
         true, "letter", "byte 293 of 296"},
    };
    for (const MalformedList& row : rows) {
        SCOPED_TRACE(row.Case);
        const String message =
            DecodeFailure(row.List, row.ForCanvas ? Canvas::Description() : Window_main::Description());
        EXPECT_NE(message.find(row.About), String::npos) << message;
        EXPECT_NE(message.find(row.Where), String::npos) << message;
    }
}

TEST(PropertyList, EveryPrefixIsReadWholeAtAnEntryBoundaryAndRefusedElsewhere)
{
    for (const StoredList& stored : StoredLists()) {
        SCOPED_TRACE(stored.Name);
        std::vector<size_t> boundaries = {0};
        for (const PropertyEntry& entry : stored.Entries)
            boundaries.push_back(boundaries.back() + EncodePropertyList({entry}).size());
        ASSERT_EQ(boundaries.back(), stored.Bytes.size());

        size_t wholeEntries = 0;
        for (size_t length = 0; length < stored.Bytes.size(); ++length) {
            SCOPED_TRACE("prefix of " + std::to_string(length) + " bytes");
            const String prefix = stored.Bytes.substr(0, length);
            if (length == boundaries[wholeEntries + 1])
                ++wholeEntries;
            if (length == boundaries[wholeEntries]) {
                const std::vector<PropertyEntry> expected(
                    stored.Entries.begin(), stored.Entries.begin() + static_cast<std::ptrdiff_t>(wholeEntries));
                ExpectEntries(DecodePropertyList(prefix, stored.Target), expected);
            } else {
                EXPECT_THROW((void)DecodePropertyList(prefix, stored.Target), UnsupportedFormatException);
            }
        }
    }
}

TEST(PropertyList, RandomBytesAndMutatedListsAreReadOrRefusedNeverAnythingElse)
{
    std::mt19937 random(0x51D0u);
    auto below = [&random](size_t bound) {
        return std::uniform_int_distribution<size_t>(0, bound - 1)(random);
    };
    auto byte = [&]() { return static_cast<char>(below(256)); };
    const std::vector<String> fragments = {
        "Width ", "Title ", "Visible ", "BackColor ", "Name ", "LockTop ", "macprocid ", " ",
        "\x00"s,  "\x01",   "\x02",     "\xFF",       "\x00\x00\x00\x03"s, "\xFF\xFF\xFF\xFF", "abc"};

    for (const StoredList& stored : StoredLists()) {
        SCOPED_TRACE(stored.Name);
        for (int round = 0; round < 1500; ++round) {
            String noise;
            const size_t length = below(48);
            for (size_t index = 0; index < length; ++index)
                noise += byte();
            ExpectReadOrRefused(noise, stored.Target);

            String pieced;
            const size_t pieces = below(12);
            for (size_t index = 0; index < pieces; ++index)
                pieced += below(4) == 0 ? String(1, byte()) : fragments[below(fragments.size())];
            ExpectReadOrRefused(pieced, stored.Target);

            String mutated = stored.Bytes;
            const size_t changes = 1 + below(4);
            for (size_t change = 0; change < changes && !mutated.empty(); ++change) {
                const size_t at = below(mutated.size());
                switch (below(4)) {
                case 0: mutated[at] = byte(); break;
                case 1: mutated.erase(at, 1 + below(8)); break;
                case 2: mutated.insert(at, 1 + below(4), byte()); break;
                default: mutated.resize(at); break;
                }
            }
            ExpectReadOrRefused(mutated, stored.Target);
        }
    }
}

TEST(PropertyList, AMalformedListSetsNothingOfWhatPrecedesTheFault)
{
    const String setsTitle = "Title " "\x00\x00\x00\x07" "Changed"s "Width " "\x00\x00\x01\x00"s;
    const std::vector<std::pair<const char*, String>> tails = {
        {"cut short inside a value", "Height " "\x00\x00"s},
        {"cut short inside a key", "Heig"s},
        {"an unknown property", "Colour " "\x00\x00\x00\x01"s},
        {"a Boolean of 2", "Visible " "\x02"s},
        {"a negative String length", "Title " "\x80\x00\x00\x00"s},
    };
    for (const auto& [name, tail] : tails) {
        SCOPED_TRACE(name);
        auto window = BareWindow();
        window->Title("Before");
        const Int32 width = window->Width();
        EXPECT_THROW(_SetProperties(window, setsTitle + tail), UnsupportedFormatException);
        EXPECT_TRUE(GetProperty(*window, "Title") == PropertyValue(String("Before")));
        EXPECT_EQ(window->Width(), width);
        EXPECT_FALSE(window->Visible());
    }
}

} // namespace
} // namespace Quorvane
