#include "framework/Graphics.h"

#include "framework/Native.h"

#include <QFontMetrics>

namespace Quorvane {

const ClassDescription& MemoryBlock::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "MemoryBlock", .Base = &Object::Description(), .Methods = {"Operator_Convert", "Size"}});
    return description;
}

Ref<MemoryBlock> MemoryBlock::Operator_Convert(const String& bytes)
{
    auto block = RuntimeNewObject<MemoryBlock>();
    block->m_bytes = bytes;
    return block;
}

struct Picture::Native {
    QImage image;
};

Picture::Picture() : m_native(std::make_unique<Native>()) {}
Picture::~Picture() = default;

const ClassDescription& Picture::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "Picture", .Base = &Object::Description(), .Methods = {"FromData", "Width", "Height"}});
    return description;
}

Ref<Picture> Picture::FromData(const Ref<MemoryBlock>& data)
{
    const String& bytes = data->Bytes();
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size()), "PNG"))
        return {};
    auto picture = RuntimeNewObject<Picture>();
    picture->m_native->image = std::move(image);
    return picture;
}

Int32 Picture::Width() const
{
    return m_native->image.width();
}

Int32 Picture::Height() const
{
    return m_native->image.height();
}

const ClassDescription& Rect::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "Quorvane.Rect", .Base = &Object::Description(), .Methods = {"Left", "Top", "Width", "Height"}});
    return description;
}

Ref<Rect> Rect::New(Int32 left, Int32 top, Int32 width, Int32 height)
{
    auto rect = RuntimeNewObject<Rect>();
    rect->m_left = left;
    rect->m_top = top;
    rect->m_width = width;
    rect->m_height = height;
    return rect;
}

struct Graphics::Native {
    QPainter* painter = nullptr;
};

Graphics::Graphics() : m_native(std::make_unique<Native>()) {}
Graphics::~Graphics() = default;

const ClassDescription& Graphics::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "Graphics", .Base = &Object::Description(), .Methods = {"DrawString"}});
    return description;
}

void Graphics::DrawString(const String& text, Int32 x, Int32 y, Int32 wrapWidth, Boolean condense)
{
    QPainter* painter = m_native->painter;
    if (!painter)
        throw UnsupportedOperationException("A Graphics is drawn on only during its Paint.");
    if (!condense || wrapWidth <= 0)
        throw UnsupportedOperationException(
            "DrawString draws only condensed text, shortened to fit a width above 0.");
    painter->drawText(x, y, painter->fontMetrics().elidedText(ToQString(text), Qt::ElideRight, wrapWidth));
}

const QImage& NativeAccess::Image(const Picture& picture)
{
    return picture.m_native->image;
}

Ref<Graphics> NativeAccess::GraphicsOn(QPainter& painter)
{
    auto graphics = RuntimeNewObject<Graphics>();
    graphics->m_native->painter = &painter;
    return graphics;
}

void NativeAccess::Detach(Graphics& graphics)
{
    graphics.m_native->painter = nullptr;
}

} // namespace Quorvane
