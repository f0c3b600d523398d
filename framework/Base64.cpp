#include "framework/Base64.h"

#include "framework/Exceptions.h"

#include <QByteArray>

namespace Quorvane {

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
