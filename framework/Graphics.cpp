#include "framework/Graphics.h"

#include "framework/Native.h"
#include "framework/PluginEntrypoints.h"

#include <QByteArray>
#include <QFontMetrics>
#include <QTextOption>

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
    const QString line = ToQString(text);
    if (wrapWidth <= 0) {
        painter->drawText(x, y, line);
        return;
    }
    const QFontMetrics metrics = painter->fontMetrics();
    if (condense) {
        painter->drawText(x, y, metrics.elidedText(line, Qt::ElideRight, wrapWidth));
        return;
    }
    // The first line's baseline stands at y; the box begins one ascent above it.
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WordWrap);
    painter->drawText(QRectF(x, y - metrics.ascent(), wrapWidth, 1 << 20), line, wrapping);
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

String DecodeBase64(const String& data, const TextEncoding*)
{
    auto decoded = QByteArray::fromBase64Encoding(
        QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())),
        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        throw UnsupportedFormatException("The text is not Base64.");
    return String(decoded.decoded.constData(), static_cast<size_t>(decoded.decoded.size()));
}

} // namespace Quorvane
