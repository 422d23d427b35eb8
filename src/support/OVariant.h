#pragma once

#include <cstdint>

// One console parameter value: signed or unsigned 32-bit integer, 32-bit
// real, text (at most 1023 bytes, UTF-8 when it comes from the link), byte
// block, or none. Texts and byte blocks live on heap 0 of the OLIB heap
// registry and are owned by the value.
class OVariant
{
public:
    enum Kind : std::uint32_t {
        Integer = 0,
        Unsigned = 1,
        String = 2,
        Real = 3,
        Binary = 4,
        None = 5,
    };

    // Setter result codes.
    static constexpr std::uint32_t Ok = 0x00010000u;
    static constexpr std::uint32_t BadArgument = 0x80010001u;
    static constexpr std::uint32_t NoMemory = 0x80010002u;

    static constexpr std::uint32_t MaxStringSize = 1024;        // text bytes + terminator
    static constexpr std::uint32_t MaxBinaryLength = 0xFFFFFFFBu;

    OVariant();
    OVariant(int value);                                   // NOLINT: implicit like an int
    OVariant(const char* text, std::uint32_t limit);
    OVariant(const OVariant& other);

    // Virtual slots, in this order.
    virtual OVariant& operator=(float value);
    virtual OVariant& operator=(unsigned char value);
    virtual OVariant& operator=(unsigned short value);
    virtual OVariant& operator=(unsigned int value);
    virtual OVariant& operator=(unsigned long value);
    virtual OVariant& operator=(signed char value);
    virtual OVariant& operator=(short value);
    virtual OVariant& operator=(int value);
    virtual OVariant& operator=(long value);
    virtual OVariant& operator=(const OVariant& other);
    virtual ~OVariant();
    virtual bool operator==(const OVariant& other) const;
    virtual bool operator!=(const OVariant& other) const;

    OVariant& operator=(OVariant&& other) noexcept;

    std::uint32_t type() const { return m_type; }
    bool isValid() const { return m_type != None; }

    std::int32_t toInt(bool* ok = nullptr) const;
    float toFloat(bool* ok = nullptr) const;
    const char* toString(bool* ok = nullptr) const;
    const unsigned char* toBinary(bool* ok = nullptr) const;

    std::uint32_t size() const;
    std::uint32_t stringSize(bool* ok = nullptr) const;
    void clear();

    std::uint32_t setString(const char* text, std::uint32_t limit);
    std::uint32_t setBinary(const void* data, std::uint32_t length);
    std::uint32_t setInt(std::int32_t value);

private:
    void release();
    void setUnsigned(std::uint32_t value);

    union Value {
        std::int32_t i;
        std::uint32_t u;
        float f;
        char* m_pString;
        unsigned char* m_pBinary;
    } m_Value;
    std::uint32_t m_type;
};
