#include "OVariant.h"

#include "HeapRegistry.h"

#include <cstring>

namespace {

const char* const StringLabel = "OVariant::m_Value.m_pString";
const char* const BinaryLabel = "OVariant::m_Value.m_pBinary";
const char ErrorText[] = "ERROR:";

std::uint32_t readLength(const unsigned char* block)
{
    return (std::uint32_t(block[0]) << 24) | (std::uint32_t(block[1]) << 16) | (std::uint32_t(block[2]) << 8)
        | std::uint32_t(block[3]);
}

} // namespace

OVariant::OVariant()
    : m_type(None)
{
    m_Value.u = 0;
}

OVariant::OVariant(int value)
    : m_type(Integer)
{
    m_Value.i = value;
}

OVariant::OVariant(const char* text, std::uint32_t limit)
    : m_type(None)
{
    m_Value.u = 0;
    setString(text, limit);
}

OVariant::OVariant(const OVariant& other)
    : m_type(None)
{
    m_Value.u = 0;
    switch (other.m_type) {
    case Integer:
    case Unsigned:
    case Real:
        m_Value = other.m_Value;
        m_type = other.m_type;
        break;
    case String:
        setString(other.m_Value.m_pString, MaxStringSize);
        break;
    case Binary:
        setBinary(other.toBinary(), other.size());
        break;
    default:
        break;
    }
}

OVariant::~OVariant()
{
    release();
}

void OVariant::release()
{
    if (m_type == String || m_type == Binary) {
        // A moved-from text or block keeps its kind with a null pointer.
        if (m_Value.m_pString)
            OLIB::HeapRegistry::releaseBlock(m_Value.m_pString);
    }
    m_Value.u = 0;
    m_type = None;
}

void OVariant::setUnsigned(std::uint32_t value)
{
    release();
    m_Value.u = value;
    m_type = Unsigned;
}

OVariant& OVariant::operator=(float value)
{
    release();
    m_Value.f = value;
    m_type = Real;
    return *this;
}

OVariant& OVariant::operator=(unsigned char value)
{
    setUnsigned(value);
    return *this;
}

OVariant& OVariant::operator=(unsigned short value)
{
    setUnsigned(value);
    return *this;
}

OVariant& OVariant::operator=(unsigned int value)
{
    setUnsigned(value);
    return *this;
}

OVariant& OVariant::operator=(unsigned long value)
{
    setUnsigned(static_cast<std::uint32_t>(value));
    return *this;
}

OVariant& OVariant::operator=(signed char value)
{
    setInt(value);
    return *this;
}

OVariant& OVariant::operator=(short value)
{
    setInt(value);
    return *this;
}

OVariant& OVariant::operator=(int value)
{
    setInt(value);
    return *this;
}

OVariant& OVariant::operator=(long value)
{
    setInt(static_cast<std::int32_t>(value));
    return *this;
}

OVariant& OVariant::operator=(const OVariant& other)
{
    if (this == &other)
        return *this;
    switch (other.m_type) {
    case Integer:
    case Unsigned:
    case Real:
        release();
        m_Value = other.m_Value;
        m_type = other.m_type;
        break;
    case String:
        setString(other.m_Value.m_pString, other.stringSize());
        break;
    case Binary:
        setBinary(other.toBinary(), other.size());
        break;
    default:
        release();
        break;
    }
    return *this;
}

OVariant& OVariant::operator=(OVariant&& other) noexcept
{
    if (this == &other)
        return *this;
    release();
    m_Value = other.m_Value;
    m_type = other.m_type;
    // The other keeps its kind; a text or block it owned now belongs to us.
    if (other.m_type == String || other.m_type == Binary)
        other.m_Value.m_pString = nullptr;
    return *this;
}

bool OVariant::operator==(const OVariant& other) const
{
    switch (m_type) {
    case Integer:
    case Unsigned:
        return (other.m_type == Integer || other.m_type == Unsigned) && m_Value.u == other.m_Value.u;
    case String: {
        if (other.m_type != String)
            return false;
        const std::uint32_t n = size();
        if (n != other.size())
            return false;
        if (n == 0)
            return true;
        return std::memcmp(m_Value.m_pString, other.m_Value.m_pString, n) == 0;
    }
    case Real: {
        bool ok = false;
        const float value = other.toFloat(&ok);
        return ok && value == m_Value.f;
    }
    case Binary: {
        if (other.m_type != Binary)
            return false;
        const std::uint32_t n = size();
        if (n != other.size())
            return false;
        const unsigned char* a = toBinary();
        const unsigned char* b = other.toBinary();
        if (!a || !b)
            return a == b;
        return std::memcmp(a, b, n) == 0;
    }
    default:
        return false;
    }
}

bool OVariant::operator!=(const OVariant& other) const
{
    return !(*this == other);
}

std::int32_t OVariant::toInt(bool* ok) const
{
    const bool isInteger = m_type == Integer || m_type == Unsigned;
    if (ok)
        *ok = isInteger;
    return isInteger ? m_Value.i : 0;
}

float OVariant::toFloat(bool* ok) const
{
    if (ok)
        *ok = true;
    switch (m_type) {
    case Integer:
        return static_cast<float>(m_Value.i);
    case Unsigned:
        return static_cast<float>(m_Value.u);
    case Real:
        return m_Value.f;
    default:
        if (ok)
            *ok = false;
        return 0.0f;
    }
}

const char* OVariant::toString(bool* ok) const
{
    const bool isText = m_type == String;
    if (ok)
        *ok = isText;
    return isText ? m_Value.m_pString : nullptr;
}

const unsigned char* OVariant::toBinary(bool* ok) const
{
    const bool isBlock = m_type == Binary && m_Value.m_pBinary;
    if (ok)
        *ok = isBlock;
    return isBlock ? m_Value.m_pBinary + 4 : nullptr;
}

std::uint32_t OVariant::size() const
{
    switch (m_type) {
    case Integer:
    case Unsigned:
    case Real:
        return 4;
    case String:
        if (!m_Value.m_pString)
            return 0;
        return static_cast<std::uint32_t>(strnlen(m_Value.m_pString, MaxStringSize - 1)) + 1;
    case Binary: {
        if (!m_Value.m_pBinary)
            return 0;
        const std::uint32_t length = readLength(m_Value.m_pBinary);
        return length > MaxBinaryLength ? 0 : length;
    }
    default:
        return 0;
    }
}

std::uint32_t OVariant::stringSize(bool* ok) const
{
    const bool isText = m_type == String;
    if (ok)
        *ok = isText;
    return isText ? size() : 0;
}

void OVariant::clear()
{
    release();
}

std::uint32_t OVariant::setString(const char* text, std::uint32_t limit)
{
    release();

    std::size_t length = 1;
    if (text) {
        const std::size_t window = std::size_t(limit) + 1;
        const std::size_t found = strnlen(text, window);
        length = found < window ? found + 1 : window;
    }

    std::uint32_t code = Ok;
    const char* source = text;
    if (length > MaxStringSize) {
        source = ErrorText;
        length = sizeof ErrorText;
        code = BadArgument;
    }

    void* block = OLIB::HeapRegistry::allocateBlock(0, StringLabel, length);
    if (!block)
        return NoMemory;
    // The registry hands out zeroed blocks, so the terminator is already there.
    if (source)
        std::memcpy(block, source, length - 1);
    m_Value.m_pString = static_cast<char*>(block);
    m_type = String;
    return code;
}

std::uint32_t OVariant::setBinary(const void* data, std::uint32_t length)
{
    release();
    if (!data || length == 0 || length > MaxBinaryLength)
        return BadArgument;
    auto* block = static_cast<unsigned char*>(
        OLIB::HeapRegistry::allocateBlock(0, BinaryLabel, std::size_t(length) + 4));
    if (!block)
        return NoMemory;
    block[0] = static_cast<unsigned char>(length >> 24);
    block[1] = static_cast<unsigned char>(length >> 16);
    block[2] = static_cast<unsigned char>(length >> 8);
    block[3] = static_cast<unsigned char>(length);
    std::memcpy(block + 4, data, length);
    m_Value.m_pBinary = block;
    m_type = Binary;
    return Ok;
}

std::uint32_t OVariant::setInt(std::int32_t value)
{
    release();
    m_Value.i = value;
    m_type = Integer;
    return Ok;
}
