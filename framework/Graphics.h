#pragma once

#include "framework/ClassDescription.h"

#include <memory>

namespace Quorvane {

struct NativeAccess;

// A block of bytes.
class MemoryBlock : public Object {
    QUORVANE_DESCRIBED_CLASS
public:
    // A new block that holds exactly the bytes of the text.
    static Ref<MemoryBlock> Operator_Convert(const String& bytes);
    // The bytes the block holds.
    const String& Bytes() const noexcept { return m_bytes; }
    // The number of bytes.
    Int32 Size() const noexcept { return static_cast<Int32>(m_bytes.size()); }

protected:
    MemoryBlock() = default;

private:
    String m_bytes;
};

// A picture in memory, owning its pixels.
class Picture : public Object {
    QUORVANE_DESCRIBED_CLASS
public:
    ~Picture() override;

    // The picture that the PNG bytes of the block hold; nothing when they cannot be read.
    static Ref<Picture> FromData(const Ref<MemoryBlock>& data);
    // The width in pixels.
    Int32 Width() const;
    // The height in pixels.
    Int32 Height() const;

protected:
    Picture();

private:
    friend struct NativeAccess;
    struct Native;
    std::unique_ptr<Native> m_native;
};

// A rectangle of pixels.
class Rect : public Object {
    QUORVANE_DESCRIBED_CLASS
public:
    // A new rectangle of that place and size.
    static Ref<Rect> New(Int32 left, Int32 top, Int32 width, Int32 height);
    Int32 Left() const noexcept { return m_left; }
    Int32 Top() const noexcept { return m_top; }
    Int32 Width() const noexcept { return m_width; }
    Int32 Height() const noexcept { return m_height; }

protected:
    Rect() = default;

private:
    Int32 m_left = 0;
    Int32 m_top = 0;
    Int32 m_width = 0;
    Int32 m_height = 0;
};

// A drawing surface, handed to a Paint handler for the length of one Paint; drawing on it once
// that Paint has ended raises UnsupportedOperationException.
class Graphics : public Object {
    QUORVANE_DESCRIBED_CLASS
public:
    ~Graphics() override;

    // Draws text from x on the baseline y in the surface's font and colour, on one line shortened
    // with an ellipsis to fit wrapWidth. Only that condensed drawing is offered: a condense of
    // false, or a wrapWidth of 0 or less, raises UnsupportedOperationException.
    void DrawString(const String& text, Int32 x, Int32 y, Int32 wrapWidth, Boolean condense);

protected:
    Graphics();

private:
    friend struct NativeAccess;
    struct Native;
    std::unique_ptr<Native> m_native;
};

} // namespace Quorvane
